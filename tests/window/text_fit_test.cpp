// No fixed text is cut: every caption, label, identification text and log text fits its
// control at the default font, measured as the style draws it; the "Status" column scales
// with the dialog units.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>

#include "core/commands/fixed_texts.h"
#include "core/forms/form_ids.h"
#include "window/about_dlg.h"
#include "window/dialog_builder.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

// The width the style leaves for a control's text.
int TextWidthIn(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .width();
    }
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->contentsRect().width() - (label->frameWidth() > 0 ? label->indent() : 0);
    return -1;
}

// Every control with a caption of its own, in any of the forms and dialogs.
void ExpectCaptionsFit(QWidget& surface, const char* where) {
    for (QWidget* control : surface.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&surface)) continue;
        QString text;
        int room = -1;
        if (auto* group = qobject_cast<QGroupBox*>(control)) {
            text = group->title();
            room = group->width() - 2 * 6 - 4;  // the caption's indent and blank
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            text = WithoutMnemonic(button->text());
            room = TextWidthIn(button);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            if (!label->pixmap().isNull()) continue;
            text = label->text();
            room = TextWidthIn(label);
        }
        if (text.isEmpty() || room < 0) continue;
        EXPECT_LE(control->fontMetrics().horizontalAdvance(text), room)
            << where << ": \"" << ToStd(text) << "\" is cut";
    }
}

class TextFitTest : public WindowTest {};

TEST_F(TextFitTest, EveryCaptionAndLabelFitsItsControl) {
    WriteSetting("AllowEditSno", 1);  // every control that can ever be seen is shown
    Start();
    Click(id::kReadDeviceInfoButton);
    ASSERT_FALSE(Control(id::kNextCommIdLabel)->isHidden());
    ExpectCaptionsFit(app->Form(), "main form");
    CAboutDlg about(&app->Frame());
    ExpectCaptionsFit(about, "About box");
    CGetParamsDlg getParams(0, "", &app->Frame());
    ExpectCaptionsFit(getParams, "Get Parameters");
    CFirmwareDlg firmware(&app->Frame());
    ExpectCaptionsFit(firmware, "firmware dialog");
}

TEST_F(TextFitTest, EveryIdentificationTextFitsItsField) {
    Start();
    for (const int field : {id::kType, id::kScanner, id::kRfid, id::kColor, id::kDisplay}) {
        auto* label = qobject_cast<QLabel*>(Control(field));
        ASSERT_NE(label, nullptr);
        ASSERT_FALSE(FixedFieldTexts(field).empty());
        for (const std::string& text : FixedFieldTexts(field)) {
            app->Form().SetControlText(field, ToQ(text));
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), TextWidthIn(label))
                << "\"" << text << "\" is cut in field " << field;
            EXPECT_LE(label->sizeHint().width(), label->width()) << text;
        }
    }
    // The texts of the Parts that were cut before.
    const auto rfid = FixedFieldTexts(id::kRfid);
    EXPECT_NE(std::find(rfid.begin(), rfid.end(), "13.56MHz (ISO 15693)"), rfid.end());
}

TEST_F(TextFitTest, EveryLogTextFitsTheStatusColumnWhichScalesWithTheDialogUnits) {
    Start();
    OperationLogView& log = app->Form().Log();
    const std::vector<std::string> texts = FixedLogTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "REMOVE BATTERIES AND PUT THEM BACK AGAIN"),
              texts.end());
    for (const std::string& text : texts) log.AppendLog(ToQ(text), kIconProgress);
    const int column = log.horizontalHeader()->sectionSize(0);
    for (int row = 0; row < log.model()->rowCount(); ++row) {
        QStyleOptionViewItem option;
        option.initFrom(&log);
        option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        option.decorationSize = log.iconSize();
        option.rect = QRect(0, 0, column, log.verticalHeader()->defaultSectionSize());
        option.text = log.model()->index(row, 0).data().toString();
        const int margin =
            log.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &log) + 1;
        const int room =
            log.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &log).width() -
            2 * margin;
        EXPECT_LE(log.fontMetrics().horizontalAdvance(option.text), room)
            << "\"" << ToStd(option.text) << "\" is cut";
    }
    // 280 pixels at the template font's base, scaled as dialog units are.
    const DialogUnits units = UnitsOf(log.font());
    EXPECT_GE(column, (280 * units.baseX + 3) / 6);
    const int formBaseX = app->Form().FormSize().width() * 4 / 282;
    EXPECT_NEAR(column, 280 * formBaseX / 6, 280 / 6 + 1);
}

TEST_F(TextFitTest, TheBaseGrowsOnlyAsFarAsTheWidestTextNeeds) {
    const QFont font = DialogFont(MainFormTemplate());
    const QFontMetrics metrics(font);
    const QString text = "REMOVE BATTERIES AND PUT THEM BACK AGAIN";
    const int base = BaseXToFit(1, metrics, {{text, 280, kTemplateBaseX, 20}});
    auto pixels = [](int b) { return (280 * b + kTemplateBaseX / 2) / kTemplateBaseX; };
    EXPECT_GE(pixels(base), metrics.horizontalAdvance(text) + 20);
    EXPECT_LT(pixels(base - 1), metrics.horizontalAdvance(text) + 20);
    EXPECT_EQ(BaseXToFit(base + 3, metrics, {{text, 280, kTemplateBaseX, 20}}), base + 3);
}

}  // namespace
}  // namespace vk930::test
