#include "app/PackForm.h"

#include "app/FramePlacement.h"
#include "app/HandlerGuard.h"
#include "app/WindowFont.h"
#include "database/ModuleList.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstring>
#include <stdexcept>

namespace lrf {

TForm1* Form1 = nullptr;

namespace {

// The module path as a 200-character buffer holds it.
QString ModulePathText(const std::string& path) {
    constexpr qsizetype kLongest = 199;
    QString text = QString::fromUtf8(path);
    if (text.size() > kLongest)
        text.truncate(text.at(kLongest - 1).isHighSurrogate() ? kLongest - 1 : kLongest);
    return text;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text) {
    return new QTreeWidgetItem(parent, QStringList{text});
}

} // namespace

QString UnitFlagsText(unsigned flags) {
    QString text = QStringLiteral(" ");
    if (flags & kLrfMainUnit)
        text += QStringLiteral("Main Unit ");
    if (flags & kLrfPackageUnit)
        text += QStringLiteral("Package Unit ");
    if (flags & kLrfWeakUnit)
        text += QStringLiteral("Weak Unit ");
    if (text.size() > 1)
        text = QStringLiteral(" (") + text + u')';
    return text;
}

TForm1::TForm1(QWidget* parent) : QDialog(parent) {
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Package Information"));
    setFont(SansSerifFont(11));

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setFont(FixedWidthFont(11));
    QPalette colours = TreeView1->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::black);
        colours.setColor(group, QPalette::Text, QColor(0, 255, 0));
        colours.setColor(group, QPalette::WindowText, QColor(0, 255, 0)); // the expand arrows
    }
    TreeView1->setPalette(colours);
    // Keys reach the window before the tree.
    TreeView1->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView1);
    PlaceByFrame(*this, QSize(588, 415));

    RunHandler([this] { FormCreate(); });
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate() {
    for (const ModuleEntry& module : ProgramModules()) {
        auto* moduleNode = new QTreeWidgetItem(TreeView1, QStringList{ModulePathText(module.path)});
        QTreeWidgetItem* contains = AddNode(moduleNode, QStringLiteral("Contains"));
        QTreeWidgetItem* required = AddNode(moduleNode, QStringLiteral("Requires"));
        if (!module.package)
            throw std::runtime_error("Cannot access package information for package '" +
                                     FileNameOf(module.path) + "'");
        for (const std::string& package : module.package->requiredPackages)
            AddNode(required, QString::fromUtf8(package));
        for (const PackageUnit& unit : module.package->units)
            AddNode(contains, QString::fromUtf8(unit.name) + UnitFlagsText(unit.flags));
        if (!module.description.empty()) {
            AddNode(moduleNode, QStringLiteral("Description: ") + QString::fromUtf8(module.description));
            if (module.package->flags & kLrfDesignOnly)
                AddNode(moduleNode, QStringLiteral("Design Only"));
            if (module.package->flags & kLrfRunOnly)
                AddNode(moduleNode, QStringLiteral("Run Only"));
        }
    }
}

void TForm1::FormKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
    }
}

void TForm1::FormClose() {
    // Freed once closed, whichever way (WA_DeleteOnClose).
    if (Form1 == this)
        Form1 = nullptr;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        FormKeyPress(key);
        if (key->isAccepted() && key->key() == Qt::Key_Escape)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    FormKeyPress(event);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

bool IsDesignSwitch(int argc, const char* const* argv) {
    return argc > 1 && std::strcmp(argv[1], "design") == 0;
}

void ShowPackageInformation() {
    auto* window = new TForm1();
    window->exec();
}

} // namespace lrf
