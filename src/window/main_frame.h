#pragma once
// The main window: the menu, the accelerators, the caption with the document title, and the
// form inside. No tool bar, no status bar, no minimise or maximise box. Commands leave it as
// the signal command(id); it handles none of them itself.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QScrollArea;
class QShortcut;

namespace vk930 {

class MainFormWidget;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame();

    // Puts the form inside the frame (the frame owns it).
    void SetForm(MainFormWidget* form);
    MainFormWidget* Form() const { return form_; }

    // Caption: "VK930Config - " and the title.
    void SetDocumentTitle(const QString& title);
    // Resizes the window so that the form fits; with shrinkOnly, a dimension in which the
    // window is already smaller than the form is left as it is.
    void FitToForm(bool shrinkOnly);

    // The menu item of a command id (null when the menu has none).
    QAction* MenuCommand(int id) const;
    QMenu* ComPortMenu() const { return comPortMenu_; }
    // A COM port item's check mark; an unchecked item shows no empty box either.
    void SetComPortItem(int port, bool checked, const QString& toolTip);

    // Asked when the window is about to close; false keeps it open.
    void OnCloseRequest(std::function<bool()> allowClose) { allowClose_ = std::move(allowClose); }
    // While a command runs, every menu item but "E&xit" and every accelerator do nothing.
    void SetBusy(bool busy);

  signals:
    void command(int id);
    void comPortMenuAboutToShow();
    void fileDropped(const QString& path);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void BuildAccelerators();

    MainFormWidget* form_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QMenu* comPortMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    std::vector<QShortcut*> shortcuts_;
    std::function<bool()> allowClose_;
};

}  // namespace vk930
