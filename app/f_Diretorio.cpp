#include "app/f_Diretorio.h"

#include "app/FramePlacement.h"
#include "app/ShellTreeView.h"
#include "app/WindowFont.h"
#include "export/FolderText.h"
#include "export/Windows1252.h"
#include "settings/Installation.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>
#include <QStyle>
#include <memory>

namespace lrf {

TFrmDiretorio* FrmDiretorio = nullptr;

namespace {

QFrame* MakePanel(const QString& name, QWidget* parent, int left, int top, int width, int height) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(left, top, width, height);
    return panel;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent, int left, int top) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, top, 75, 25);
    button->setAutoDefault(false);
    button->setIconSize(QSize(18, 18));
    return button;
}

} // namespace

QString DefaultChooserRoot() {
    return FixedFolder(QStringLiteral("KORV_8"));
}

QString ChooserRoot() {
    const QString fixed = DefaultChooserRoot();
#ifndef _WIN32
    if (!QFileInfo(fixed).isDir()) {
        const QString database = FromWindows1252(ReadKorvSetting("Caminho_Base_Dados")).trimmed();
        if (!database.isEmpty() && QFileInfo(database).isDir())
            return WithFinalSeparator(database);
        if (QFileInfo(QDir::homePath()).isDir())
            return WithFinalSeparator(QDir::homePath());
    }
#endif
    return fixed;
}

TFrmDiretorio::TFrmDiretorio(QWidget* owner, const QString& ownRoot) : QDialog(owner) {
    setObjectName(QStringLiteral("FrmDiretorio"));
    setWindowTitle(QStringLiteral("Selecione a Entidade ..."));
    setFont(SansSerifFont(11));
    setFixedSize(385, 220);

    // Lowered outer and raised inner bevel, two pixels each.
    Panel1 = MakePanel(QStringLiteral("Panel1"), this, 0, 0, 385, 220);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setMidLineWidth(0);

    Panel3 = MakePanel(QStringLiteral("Panel3"), Panel1, 4, 4, 377, 178);
    ShellTreeView1 = new ShellTreeView(Panel3);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setGeometry(5, 5, 367, 168);

    Panel2 = MakePanel(QStringLiteral("Panel2"), Panel1, 4, 182, 377, 34);
    BitBtn1 = MakeButton(QStringLiteral("BitBtn1"), QStringLiteral("Outras Pastas"), Panel2, 8, 0);
    btnOk = MakeButton(QStringLiteral("btnOk"), QStringLiteral("OK"), Panel2, 204, 2);
    btnOk->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    btnOk->setDefault(true);
    BitBtn2 = MakeButton(QStringLiteral("BitBtn2"), QStringLiteral("Cancela"), Panel2, 284, 2);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    // Esc and the close box give Cancel through QDialog itself.
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmDiretorio::BitBtn1Click);
    connect(ShellTreeView1, &QTreeView::doubleClicked, this, &TFrmDiretorio::ShellTreeView1DblClick);

    ShellTreeView1->SetRoot(ownRoot);

    PlaceByFrame(*this);
}

void TFrmDiretorio::ShellTreeView1DblClick() {
    if (Tag == 1)
        accept();
}

void TFrmDiretorio::BitBtn1Click() {
    ShellTreeView1->SetRootToDesktop();
}

std::optional<QString> ChooseOutputFolder(QWidget* owner, const QString& folderText,
                                          const QString& executableFolder, const QString& chooserRoot) {
    const auto dialog = std::make_unique<TFrmDiretorio>(owner, chooserRoot);
    FrmDiretorio = dialog.get();
    const struct Forget {
        ~Forget() { FrmDiretorio = nullptr; }
    } forget;
    dialog->Tag = 1;

    if (!folderText.isEmpty())
        dialog->ShellTreeView1->SetRoot(QFileInfo(folderText).isDir() ? folderText : executableFolder);

    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    // OK with nothing selected chooses nothing: the folder text stays.
    const QString path = dialog->ShellTreeView1->Path();
    if (path.isEmpty())
        return std::nullopt;
    return WithFinalSeparator(path);
}

} // namespace lrf
