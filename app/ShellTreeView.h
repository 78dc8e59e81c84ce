#pragma once
// The folder chooser's tree over the file system: a root that is a folder or the desktop, the folder
// shown as the one top item, folders, files and hidden items below it.
#include <QPersistentModelIndex>
#include <QString>
#include <QTreeView>
#include <memory>

class QFileIconProvider;
class QFileSystemModel;

namespace lrf {

class ShellRootFilter;

class ShellTreeView : public QTreeView {
    Q_OBJECT
public:
    // What Root() reports while the desktop is the root.
    static QString DesktopRoot() { return QStringLiteral("rfDesktop"); }

    explicit ShellTreeView(QWidget* parent = nullptr);
    ~ShellTreeView() override;

    // Throws std::runtime_error "Error setting path: "<root>"" when the folder cannot be reached;
    // the tree is then left as it was.
    void SetRoot(const QString& folder);
    void SetRootToDesktop();
    // The folder as given to SetRoot, or DesktopRoot().
    QString Root() const { return root_; }

    // The file-system path of the selected item in this system's form; empty when none is selected.
    QString Path() const;
    // The view's index of `path`, for selecting an item by its path.
    QModelIndex IndexOfPath(const QString& path) const;

protected:
    // No expand buttons and no tree lines.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ShowTop(const QString& topPath);

    std::unique_ptr<QFileIconProvider> icons_; // the model's, freed after it
    QFileSystemModel* model_;
    ShellRootFilter* filter_;
    QString root_;
};

} // namespace lrf
