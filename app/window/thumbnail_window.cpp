#include "app/window/thumbnail_window.h"

#include <QApplication>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/window/thumbnail_model.h"
#include "ui/layout_look.h"

namespace app {
namespace {

constexpr int kMargin = 8;
constexpr int kTextLines = 2;
// The layout's colours: the picture's frame grey, a mark red as the
// title band.
const QColor kFrame(0xc0, 0xc0, 0xc0);
const QColor kMark(0xff, 0x33, 0x33);

class ThumbnailDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    const int line = option.fontMetrics.height();
    return {ThumbnailWindow::kSide + 2 * kMargin,
            ThumbnailWindow::kSide + 2 * kMargin + kTextLines * line};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    const QRect cell = option.rect.adjusted(kMargin / 2, kMargin / 2, -kMargin / 2, -kMargin / 2);
    const QPalette& palette = option.palette;
    painter->fillRect(option.rect, option.state & QStyle::State_Selected
                                       ? palette.color(QPalette::Highlight).lighter(180)
                                       : palette.color(QPalette::Base));
    const QRect box(cell.left() + (cell.width() - ThumbnailWindow::kSide) / 2, cell.top(),
                    ThumbnailWindow::kSide, ThumbnailWindow::kSide);
    const QImage picture = index.data(ThumbnailModel::kPictureRole).value<QImage>();
    if (!picture.isNull()) {
      const QSize size =
          picture.size().scaled(box.size(), Qt::KeepAspectRatio).boundedTo(picture.size());
      const QRect at(box.left() + (box.width() - size.width()) / 2,
                     box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
      painter->drawImage(at, picture);
    } else {
      painter->setPen(kFrame);
      painter->drawRect(box.adjusted(0, 0, -1, -1));
      if (index.data(ThumbnailModel::kUnreadableRole).toBool()) {
        // A plain icon with the file's own name.
        const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
        const QRect icon_box(box.center().x() - 16, box.top() + box.height() / 3 - 16, 32, 32);
        icon.paint(painter, icon_box);
        painter->setPen(palette.color(QPalette::Text));
        const QRect name_box(box.left() + 4, icon_box.bottom() + 8, box.width() - 8,
                             box.bottom() - icon_box.bottom() - 12);
        painter->drawText(name_box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere,
                          index.data(ThumbnailModel::kFileNameRole).toString());
      }
    }
    const int line = option.fontMetrics.height();
    const QRect name_line(cell.left(), box.bottom() + 4, cell.width(), line);
    painter->setPen(palette.color(QPalette::Text));
    painter->drawText(name_line, Qt::AlignHCenter | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                    Qt::ElideMiddle, name_line.width()));
    const QString mark = index.data(ThumbnailModel::kMarkRole).toString();
    if (!mark.isEmpty()) {
      painter->setPen(kMark);
      const QRect mark_line = name_line.translated(0, line);
      painter->drawText(mark_line, Qt::AlignHCenter | Qt::AlignVCenter,
                        option.fontMetrics.elidedText(mark, Qt::ElideRight, mark_line.width()));
    }
    painter->restore();
  }
};

}  // namespace

ThumbnailWindow::ThumbnailWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), model_(new ThumbnailModel(kSide, this)), view_(new QListView) {
  setObjectName(QStringLiteral("ThumbnailWindow"));
  setWindowTitle(QStringLiteral(u"縮小画像で確認"));
  setPalette(ui::LayoutPalette());
  view_->setObjectName(QStringLiteral("ThumbnailView"));
  // A grid of equal cells, rows of them wrapped at the window's width. (The
  // list's icon mode lays out every item again when one picture arrives;
  // its list mode, wrapped, takes the cells' one size.)
  view_->setViewMode(QListView::ListMode);
  view_->setFlow(QListView::LeftToRight);
  view_->setWrapping(true);
  view_->setResizeMode(QListView::Adjust);
  view_->setMovement(QListView::Static);
  view_->setUniformItemSizes(true);
  view_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setItemDelegate(new ThumbnailDelegate(view_));
  view_->setModel(model_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  resize(6 * (kSide + 2 * kMargin) + 24, 2 * (kSide + 2 * kMargin + 2 * 16) + 40);
  connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { FollowSight(); });
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { FollowSight(); });
}

std::function<void(const PreviewedFile&)> ThumbnailWindow::StartPreview() {
  model_->Clear();
  return model_->Sink();
}

void ThumbnailWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FollowSight();
}

void ThumbnailWindow::FollowSight() {
  const QRect sight = view_->viewport()->rect();
  const QModelIndex first = view_->indexAt(sight.topLeft() + QPoint(1, 1));
  QModelIndex last = view_->indexAt(sight.bottomRight() - QPoint(1, 1));
  if (!first.isValid()) return;
  if (!last.isValid()) last = model_->index(model_->rowCount() - 1);
  // A screen's worth before and after stays wanted, for the next scroll.
  const int screen = last.row() - first.row() + 1;
  model_->KeepOnly(std::max(0, first.row() - screen), last.row() + screen);
}

}  // namespace app
