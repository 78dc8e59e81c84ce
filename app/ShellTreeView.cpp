#include "app/ShellTreeView.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <memory>
#include <stdexcept>

namespace lrf {

namespace {

// The top of the file system as the desktop of this system shows it: the drives on Windows, "/" here.
#ifdef _WIN32
const QString kDesktopTop;
#else
const QString kDesktopTop = QStringLiteral("/");
#endif

// The system's icons, or the style's folder and file pictures where the system has no icon theme.
class ShellIcons : public QFileIconProvider {
public:
    explicit ShellIcons(const QStyle* style) : style_(style) {}
    QIcon icon(const QFileInfo& info) const override {
        const QIcon system = QFileIconProvider::icon(info);
        if (!system.isNull())
            return system;
        return style_->standardIcon(info.isDir() ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    }

private:
    const QStyle* style_;
};

} // namespace

// Among the items beside the root folder only the root itself is shown.
class ShellRootFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void ShowOnly(const QModelIndex& top) {
        top_ = top;
        topParent_ = top.parent();
        showAll_ = !top.isValid();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (showAll_ || parent != topParent_)
            return true;
        return sourceModel()->index(row, 0, parent) == top_;
    }

private:
    QPersistentModelIndex top_;
    QPersistentModelIndex topParent_;
    bool showAll_ = true;
};

ShellTreeView::ShellTreeView(QWidget* parent)
    : QTreeView(parent), model_(new QFileSystemModel(this)), filter_(new ShellRootFilter(this)) {
    model_->setOption(QFileSystemModel::DontWatchForChanges);
    icons_ = std::make_unique<ShellIcons>(style());
    model_->setIconProvider(icons_.get());
    model_->setFilter(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    model_->setReadOnly(true);
    filter_->setSourceModel(model_);
    setModel(filter_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setRootIsDecorated(false);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

ShellTreeView::~ShellTreeView() {
    // The model and its file-information thread go before the icon provider they use.
    setModel(nullptr);
    delete filter_;
    delete model_;
}

void ShellTreeView::SetRoot(const QString& folder) {
    const QFileInfo info(QDir::fromNativeSeparators(folder));
    if (folder.isEmpty() || !info.isDir())
        throw std::runtime_error("Error setting path: \"" + folder.toStdString() + "\"");
    ShowTop(QDir::cleanPath(info.absoluteFilePath()));
    root_ = folder;
}

void ShellTreeView::SetRootToDesktop() {
    ShowTop(kDesktopTop);
    root_ = DesktopRoot();
}

void ShellTreeView::ShowTop(const QString& topPath) {
    model_->setRootPath(topPath);
    const QModelIndex top = topPath.isEmpty() ? QModelIndex() : model_->index(topPath);
    filter_->ShowOnly(top);
    setRootIndex(filter_->mapFromSource(top.parent()));
    clearSelection();
    if (top.isValid()) {
        const QModelIndex shown = filter_->mapFromSource(top);
        setCurrentIndex(shown);
        expand(shown);
    }
}

QString ShellTreeView::Path() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    return QDir::toNativeSeparators(model_->filePath(filter_->mapToSource(selected.first())));
}

QModelIndex ShellTreeView::IndexOfPath(const QString& path) const {
    return filter_->mapFromSource(model_->index(QDir::fromNativeSeparators(path)));
}

void ShellTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            setCurrentIndex(index);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

} // namespace lrf
