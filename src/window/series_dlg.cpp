// The "Number a series" dialog in widgets.
#include "window/series_dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "window/dialog_builder.h"
#include "window/file_dialog.h"
#include "window/text.h"

namespace vk930 {

namespace {

// The table's columns and their share of its width, in dialog units of the template's 326.
constexpr const char* kColumns[] = {"Port", "State", "CommID", "Time"};
constexpr int kColumnUnits[] = {34, 176, 40, 40};

QWidget* MakeTable(const DialogControl& c, QWidget* parent) {
    if (c.id != id::kSeriesTable) return nullptr;
    auto* table = new QTableWidget(0, 4, parent);
    QStringList headers;
    for (const char* column : kColumns) headers << column;
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

template <typename W>
W* ById(const BuiltDialog& built, int id) {
    return qobject_cast<W*>(built.byId.at(id));
}

}  // namespace

CSeriesDlg::CSeriesDlg(SeriesDialogParts parts, QWidget* parent)
    : QDialog(parent, kModalDialogFrame), logic_(std::move(parts), *this) {
    const DialogTemplate& dialog = SeriesTemplate();
    setWindowTitle(ToQ(dialog.caption));
    const BuiltDialog built = BuildDialog(dialog, this, MakeTable);
    setFixedSize(built.size);
    nextId_ = ById<QCheckBox>(built, id::kSeriesNextId);
    firstId_ = ById<QLineEdit>(built, id::kSeriesFirstId);
    count_ = ById<QLineEdit>(built, id::kSeriesCount);
    untilStopped_ = ById<QCheckBox>(built, id::kSeriesUntilStop);
    file_ = ById<QLineEdit>(built, id::kSeriesFile);
    browse_ = ById<QPushButton>(built, id::kSeriesBrowse);
    verify_ = ById<QCheckBox>(built, id::kSeriesVerify);
    for (int i = 0; i < kPortCount; ++i)
        ports_[static_cast<std::size_t>(i)] = ById<QCheckBox>(built, id::kSeriesPort1 + i);
    registry_ = ById<QLabel>(built, id::kSeriesRegistry);
    table_ = ById<QTableWidget>(built, id::kSeriesTable);
    totals_ = ById<QLabel>(built, id::kSeriesTotals);
    start_ = ById<QPushButton>(built, id::kSeriesStart);
    stop_ = ById<QPushButton>(built, id::kSeriesStop);
    close_ = ById<QPushButton>(built, id::kSeriesClose);
    for (int i = 0; i < 3; ++i) table_->setColumnWidth(i, built.units.X(kColumnUnits[i]));

    connect(nextId_, &QCheckBox::toggled, this, &CSeriesDlg::ShowIdChoice);
    connect(untilStopped_, &QCheckBox::toggled, this, &CSeriesDlg::ShowIdChoice);
    connect(browse_, &QPushButton::clicked, this, [this] { logic_.OnBrowse(CurrentChoices()); });
    connect(start_, &QPushButton::clicked, this, [this] { logic_.OnStart(CurrentChoices()); });
    connect(stop_, &QPushButton::clicked, this, [this] { logic_.OnStop(); });
    connect(close_, &QPushButton::clicked, this, &CSeriesDlg::reject);
    logic_.Open();
}

CSeriesDlg::~CSeriesDlg() = default;

SeriesChoices CSeriesDlg::CurrentChoices() const {
    SeriesChoices c;
    c.nextId = nextId_->isChecked();
    c.firstId = ToStd(firstId_->text());
    c.count = ToStd(count_->text());
    c.untilStopped = untilStopped_->isChecked();
    c.setFile = ToStd(file_->text());
    c.verify = verify_->isChecked();
    for (std::size_t i = 0; i < ports_.size(); ++i) c.ports[i] = ports_[i]->isChecked();
    return c;
}

void CSeriesDlg::ShowChoices(const SeriesChoices& c) {
    nextId_->setChecked(c.nextId);
    firstId_->setText(ToQ(c.firstId));
    count_->setText(ToQ(c.count));
    untilStopped_->setChecked(c.untilStopped);
    file_->setText(ToQ(c.setFile));
    verify_->setChecked(c.verify);
    for (std::size_t i = 0; i < ports_.size(); ++i) ports_[i]->setChecked(c.ports[i]);
    ShowIdChoice();
}

// A field the other choice makes void takes no input.
void CSeriesDlg::ShowIdChoice() {
    firstId_->setEnabled(!running_ && !nextId_->isChecked());
    count_->setEnabled(!running_ && !untilStopped_->isChecked());
}

void CSeriesDlg::ShowRegistry(const std::string& text) {
    registry_->setText(ToQ(text));
    registry_->setToolTip(ToQ(text));
}

void CSeriesDlg::ShowRow(std::size_t index, const SeriesRow& row) {
    const int r = static_cast<int>(index);
    if (r >= table_->rowCount()) table_->setRowCount(r + 1);
    const QString texts[] = {QStringLiteral("COM%1").arg(row.port), ToQ(row.state), ToQ(row.commId),
                             ToQ(row.time)};
    for (int column = 0; column < 4; ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        item->setToolTip(texts[column]);
        if (row.removeIt) {
            // Seen from across the bench: a strong green with bold white text.
            item->setBackground(QColor(0, 128, 0));
            item->setForeground(Qt::white);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        } else if (row.step == StationStep::kFailed || row.step == StationStep::kSkipped) {
            item->setForeground(QColor(176, 0, 0));
        }
        table_->setItem(r, column, item);
    }
    table_->scrollToItem(table_->item(r, 0));
}

void CSeriesDlg::ShowTotals(const std::string& text) {
    totals_->setText(ToQ(text));
}

void CSeriesDlg::ShowRunning(bool running, bool stopping) {
    running_ = running;
    for (QWidget* choice :
         std::initializer_list<QWidget*>{nextId_, untilStopped_, file_, browse_, verify_, start_})
        choice->setEnabled(!running);
    for (QCheckBox* port : ports_) port->setEnabled(!running);
    stop_->setEnabled(running && !stopping);
    ShowIdChoice();
}

void CSeriesDlg::Tell(const std::string& text) {
    QMessageBox box(QMessageBox::Information, windowTitle(), ToQ(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool CSeriesDlg::Ask(const std::string& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), ToQ(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> CSeriesDlg::AskParameterFile() {
    if (const std::optional<QString> path = RunOpenDocumentDialog(this)) return ToStd(*path);
    return std::nullopt;
}

void CSeriesDlg::Close() {
    closing_ = true;
    QDialog::reject();
}

void CSeriesDlg::reject() {
    if (closing_ || logic_.OnClose()) Close();
}

void CSeriesDlg::closeEvent(QCloseEvent* event) {
    if (closing_ || logic_.OnClose()) {
        closing_ = true;
        event->accept();
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

}  // namespace vk930
