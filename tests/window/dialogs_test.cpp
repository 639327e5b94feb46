// The Get Parameters and firmware dialogs and the About box, answered without a person.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "window/about_dlg.h"
#include "window/dialog_builder.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

template <class T>
T* ControlOf(QWidget& dialog, int id) {
    return dialog.findChild<T*>(ControlObjectName(id));
}

struct FileDialogSeen {
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QString suffix;
    QStringList filters;
    bool confirmsOverwrite = false;
};

ModalAnswerer::Action Record(FileDialogSeen& seen, ModalAnswerer::Action then) {
    return Inspect(
        [&seen](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            seen = {files->acceptMode(), files->fileMode(), files->defaultSuffix(),
                    files->nameFilters(), !files->testOption(QFileDialog::DontConfirmOverwrite)};
        },
        std::move(then));
}

class DialogsTest : public WindowTest {};

TEST_F(DialogsTest, GetDialogSelectsThePortPositionAndShowsThePath) {
    CGetParamsDlg dialog(2, "/data/one.pcg");
    auto* ports = ControlOf<QComboBox>(dialog, id::kGetParamsPortList);
    ASSERT_NE(ports, nullptr);
    QStringList entries;
    for (int i = 0; i < ports->count(); ++i) entries << ports->itemText(i);
    EXPECT_EQ(entries, QStringList({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
    EXPECT_EQ(ports->currentText(), "COM3");
    EXPECT_EQ(ControlOf<QLabel>(dialog, id::kGetParamsPathText)->text(), "/data/one.pcg");
    EXPECT_EQ(dialog.windowTitle(), "Get Parameters from VK930 device");
    EXPECT_TRUE(ControlOf<QPushButton>(dialog, id::kOk)->isDefault());

    ModalAnswerer answerer({ClickControl(id::kOk)});
    const GetParamsDialogAnswer answer = dialog.Run();
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.portIndex, 2);
    EXPECT_EQ(answer.path, "/data/one.pcg");
}

TEST_F(DialogsTest, GetDialogWithAPortTheListHasNotSelectsNothing) {
    for (int portIndex : {6, 7, -1}) {
        CGetParamsDlg dialog(portIndex, "");
        EXPECT_EQ(dialog.m_nPortIndex, -1);
        EXPECT_EQ(ControlOf<QComboBox>(dialog, id::kGetParamsPortList)->currentIndex(), -1);
        ModalAnswerer answerer({ClickControl(id::kOk)});
        const GetParamsDialogAnswer answer = dialog.Run();
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.portIndex, -1);
    }
    CGetParamsDlg chosen(7, "");
    ModalAnswerer answerer({Inspect(
        [](QWidget* dialog) {
            ControlOf<QComboBox>(*dialog, id::kGetParamsPortList)->setCurrentIndex(4);
        },
        ClickControl(id::kOk))});
    EXPECT_EQ(chosen.Run().portIndex, 4);
}

TEST_F(DialogsTest, GetDialogCancelReturnsNoAnswer) {
    CGetParamsDlg dialog(0, "/data/one.pcg");
    ModalAnswerer answerer({ClickControl(id::kCancel)});
    EXPECT_FALSE(dialog.Run().ok);
}

TEST_F(DialogsTest, GetDialogSaveButtonChoosesTheFileAndAsksBeforeReplacing) {
    const QString existing = MakeFile("existing.pcg", "END\n");
    FileDialogSeen seen;
    std::vector<MessageBoxSeen> boxes;
    ModalAnswerer answerer;
    CGetParamsDlg dialog(1, "/data/old.pcg");
    answerer.Add(ClickControl(id::kGetParamsSaveButton));
    answerer.Add(Record(seen, PickFile(existing)));
    answerer.Add([&boxes](QWidget* box) {  // "replace it?"
        boxes.push_back({box->windowTitle(), qobject_cast<QMessageBox*>(box)->text()});
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    answerer.Add(ClickControl(id::kOk));
    const GetParamsDialogAnswer answer = dialog.Run();
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(seen.suffix, "pcg");
    EXPECT_TRUE(seen.filters.isEmpty() || seen.filters == QStringList{"All Files (*)"});
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.path, ToStd(existing));
    EXPECT_EQ(answer.portIndex, 1);
    EXPECT_EQ(ControlOf<QLabel>(dialog, id::kGetParamsPathText)->text(), existing);
}

TEST_F(DialogsTest, GetDialogCancelledFileDialogChangesNothing) {
    CGetParamsDlg dialog(0, "/data/old.pcg");
    ModalAnswerer answerer(
        {ClickControl(id::kGetParamsSaveButton), RejectDialog(), ClickControl(id::kOk)});
    const GetParamsDialogAnswer answer = dialog.Run();
    EXPECT_EQ(answer.path, "/data/old.pcg");
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(DialogsTest, FirmwareDialogStepsAndStartWithoutAFile) {
    CFirmwareDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "VK930 Firmware upload");
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->objectName().isEmpty()) labels << label->text();
    EXPECT_EQ(labels, QStringList({"1. Remove Batteries from device",
                                   "2. Connect boot cable between PC Com port and device",
                                   "3. Open FW file Hsbtxx.a20 where xx is version number",
                                   "4. Place batteries to device.", "5."}));
    ModalAnswerer answerer({ClickControl(id::kOk)});
    const FirmwareDialogAnswer answer = dialog.Run();
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.file, "");
}

TEST_F(DialogsTest, FirmwareDialogKeepsTheLastChoiceAndAcceptsANameThatDoesNotExist) {
    const QString first = MakeFile("hsbt14.a20", ":00000001FF\n");
    const QString second = ToQ(dir.File("hsbt15.a20"));  // not there
    FileDialogSeen seen;
    CFirmwareDlg dialog;
    ModalAnswerer answerer({ClickControl(id::kOpenFwFileButton), Record(seen, PickFile(first)),
                            ClickControl(id::kOpenFwFileButton), PickFile(second),
                            ClickControl(id::kOpenFwFileButton), RejectDialog(),
                            ClickControl(id::kOk)});
    const FirmwareDialogAnswer answer = dialog.Run();
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.suffix, "a20");
    EXPECT_EQ(seen.filters, QStringList{"VK930 FW files (hsbt*.a20)"});
    EXPECT_TRUE(answer.ok);
    EXPECT_EQ(answer.file, ToStd(second));
    EXPECT_EQ(ControlOf<QLabel>(dialog, id::kFwFilePath)->text(), second);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(DialogsTest, FirmwareDialogCancelAndTheWindowsHostAnswers) {
    Start();
    ModalAnswerer answerer({ClickControl(id::kCancel), ClickControl(id::kCancel)});
    EXPECT_FALSE(app->Host().RunFirmwareDialog().ok);
    EXPECT_FALSE(app->Host().RunGetParamsDialog(0, "x").ok);
    EXPECT_EQ(answerer.Answered(), 2);
}

TEST_F(DialogsTest, AboutBoxFromTheMenu) {
    Start();
    QStringList texts;
    ModalAnswerer answerer({Inspect(
        [&](QWidget* about) {
            texts << about->windowTitle();
            for (QLabel* label : about->findChildren<QLabel*>())
                if (label->pixmap().isNull()) texts << label->text();
        },
        ClickControl(id::kOk))});
    app->OnCommand(57664);
    EXPECT_EQ(texts.value(0), "About VK930Config");
    EXPECT_TRUE(texts.contains("VK930Config Version 1.4"));
    EXPECT_EQ(answerer.Answered(), 1);
}

}  // namespace
}  // namespace vk930::test
