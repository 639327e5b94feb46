#pragma once
// The "Number a series" dialog (template 141) in widgets: it renders the choices, the table of
// terminals and the totals the core's SeriesDialog gives it, and forwards its buttons there.
#include <QDialog>
#include <array>

#include "core/app/series_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vk930 {

class CSeriesDlg : public QDialog, private SeriesDialogView {
    Q_OBJECT
  public:
    CSeriesDlg(SeriesDialogParts parts, QWidget* parent);
    ~CSeriesDlg() override;

    SeriesDialog& Logic() { return logic_; }
    SeriesChoices CurrentChoices() const;

    void reject() override;  // Esc and the close box: as Close

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // SeriesDialogView
    void ShowChoices(const SeriesChoices& choices) override;
    void ShowRegistry(const std::string& text) override;
    void ShowRow(std::size_t index, const SeriesRow& row) override;
    void ShowTotals(const std::string& text) override;
    void ShowRunning(bool running, bool stopping) override;
    void Tell(const std::string& text) override;
    bool Ask(const std::string& question) override;
    std::optional<std::string> AskParameterFile() override;
    void Close() override;

    void ShowIdChoice();

    SeriesDialog logic_;
    QCheckBox* nextId_;
    QLineEdit* firstId_;
    QLineEdit* count_;
    QCheckBox* untilStopped_;
    QLineEdit* file_;
    QPushButton* browse_;
    QCheckBox* verify_;
    std::array<QCheckBox*, kPortCount> ports_{};
    QLabel* registry_;
    QTableWidget* table_;
    QLabel* totals_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* close_;
    bool running_ = false;
    bool closing_ = false;  // the logic let the dialog close
};

}  // namespace vk930
