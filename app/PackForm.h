#pragma once
// The package information window: every module of the running program with the units it contains and
// the packages it requires. Shown modally before the main window when the program starts with the
// first argument "design".
#include <QDialog>
#include <QString>

class QKeyEvent;
class QTreeWidget;

namespace lrf {

class TForm1 : public QDialog {
    Q_OBJECT
public:
    // Fills the tree; an error while filling goes to the error box and the tree keeps what it has.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    QTreeWidget* TreeView1;

    void FormCreate();
    void FormKeyPress(QKeyEvent* event);
    void FormClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

// The window while it exists, nullptr otherwise.
extern TForm1* Form1;

// The text after a unit's name: a lone blank, or " (" + the names of flag bits 1, 2 and 4 + ")".
QString UnitFlagsText(unsigned flags);

// True when the first argument (after the program's own name) is exactly "design".
bool IsDesignSwitch(int argc, const char* const* argv);

// Creates Form1, shows it modally and returns when the operator closes it; the window frees itself.
void ShowPackageInformation();

} // namespace lrf
