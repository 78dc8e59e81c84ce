#pragma once
// The folder chooser behind the "..." button of the output folder, and the choice it makes.
#include "export/DefaultFolders.h"

#include <QDialog>
#include <QString>
#include <optional>

class QFrame;
class QPushButton;

namespace lrf {

class ShellTreeView;

// The chooser's own root, the fixed folder "KORV_8"; ends with the folder separator.
QString DefaultChooserRoot();

// The root the chooser is created with: DefaultChooserRoot() where that folder exists. Elsewhere than on
// Windows it seldom does, so the installation's database folder (settings key Caminho_Base_Dados) stands
// in, then the home folder; when none exists, DefaultChooserRoot() all the same, and the chooser says so.
QString ChooserRoot();

class TFrmDiretorio : public QDialog {
    Q_OBJECT
public:
    // The tree starts at `ownRoot`; the program always gives ChooserRoot(). Throws
    // std::runtime_error "Error setting path: ..." when that folder cannot be reached.
    explicit TFrmDiretorio(QWidget* owner = nullptr, const QString& ownRoot = ChooserRoot());

    // The caller's mode: 1 lets a double click in the tree choose the item.
    int Tag = 0;

    QFrame* Panel1;
    QFrame* Panel3;
    ShellTreeView* ShellTreeView1;
    QFrame* Panel2;
    QPushButton* BitBtn1;
    QPushButton* btnOk;
    QPushButton* BitBtn2;

    void ShellTreeView1DblClick();
    void BitBtn1Click();
};

// The chooser while it is open, nullptr otherwise.
extern TFrmDiretorio* FrmDiretorio;

// Opens the chooser modally over `owner` at the folder of `folderText` (an existing folder: that one;
// a missing one: `executableFolder`; an empty text: the chooser's own root `chooserRoot`). Returns the
// new folder text when the operator chose an item with OK, nullopt otherwise. The errors of the
// chooser's roots are thrown, before anything is shown.
std::optional<QString> ChooseOutputFolder(QWidget* owner, const QString& folderText,
                                          const QString& executableFolder,
                                          const QString& chooserRoot = ChooserRoot());

} // namespace lrf
