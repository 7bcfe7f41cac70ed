#include "mp3/view/frmPlayListView.h"

#include <QCheckBox>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/FormViews.h"

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

const ViewOf<frmPlayList, frmPlayListView> registered;

// A header line is a name, blanks and a value ("Bitrate            160"); the blanks were counted
// for another font. Each value is drawn in one column, after the widest name of the list, so the
// values line up in any font; the text itself stays as the program made it.
class HeaderLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto [name, value] = Split(index.data().toString());
    if (value.isEmpty()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem blank = option;
    initStyleOption(&blank, index);
    blank.text.clear();
    blank.widget->style()->drawControl(QStyle::CE_ItemViewItem, &blank, painter, blank.widget);
    const QRect room = blank.widget->style()->subElementRect(QStyle::SE_ItemViewItemText, &blank, blank.widget);
    const int column = NameColumn(option.fontMetrics, *index.model());
    painter->save();
    painter->setPen(blank.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(room.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, name);
    painter->drawText(room.adjusted(2 + column, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, value);
    painter->restore();
  }

 private:
  static std::pair<QString, QString> Split(const QString& line) {
    static const QRegularExpression blanks(QStringLiteral("^(\\S+) {2,}(\\S.*)$"));
    const auto m = blanks.match(line);
    if (!m.hasMatch()) return {line, QString()};
    return {m.captured(1), m.captured(2)};
  }
  static int NameColumn(const QFontMetrics& metrics, const QAbstractItemModel& model) {
    int widest = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
      widest = std::max(widest, metrics.horizontalAdvance(Split(model.index(row, 0).data().toString()).first));
    }
    return widest + metrics.horizontalAdvance(QStringLiteral("MM"));
  }
};

}  // namespace

frmPlayListView::frmPlayListView(frmPlayList& form, const std::string& pictureFolder, QWidget* parent)
    : QWidget(parent), form_(form) {
  setObjectName("frmPlayList");
  binder_.SetPictureFolder(pictureFolder);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(BuildPlaylistSide());
  splitter->addWidget(BuildHeaderSide());
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  // The scratch list of a rebuild is never shown.
  binder_.Make<QListWidget>(this, form.List3);
  binder_.Bind(this, this, form.window);
}

QWidget* frmPlayListView::BuildPlaylistSide() {
  frmPlayList& f = form_;
  auto* side = new QWidget;
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);

  auto* playlist = binder_.Make<QListWidget>(side, f.List2, InLayout);
  column->addWidget(playlist, 1);

  auto* commands = new QHBoxLayout;
  for (auto* c : {&f.Command20, &f.Command6}) {
    auto* b = binder_.Make<QPushButton>(side, *c, InLayout);
    commands->addWidget(b);
  }
  commands->addStretch(1);
  for (auto* c : {&f.Command11, &f.Command12}) {
    auto* b = binder_.Make<QToolButton>(side, *c, InLayout);
    b->setIconSize(QSize(20, 20));
    commands->addWidget(b);
  }
  column->addLayout(commands);

  auto* addToFiles = binder_.Make<QCheckBox>(side, f.Check11, InLayout);
  column->addWidget(addToFiles);
  return side;
}

QWidget* frmPlayListView::BuildHeaderSide() {
  frmPlayList& f = form_;
  auto* side = new QWidget;
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);

  // The current file, chosen or typed, and its analysis.
  auto* fileRow = new QHBoxLayout;
  auto* current = binder_.Make<QLineEdit>(side, f.Text5, InLayout);
  fileRow->addWidget(current, 1);
  auto* choose = binder_.Make<QPushButton>(side, f.cmdHdr1, InLayout);
  choose->setMaximumWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
  fileRow->addWidget(choose);
  auto* read = binder_.Make<QPushButton>(side, f.cmdHdr2, InLayout);
  fileRow->addWidget(read);
  column->addLayout(fileRow);

  auto* header = binder_.Make<QListWidget>(side, f.List1, InLayout);
  header->setItemDelegate(new HeaderLineDelegate(header));
  column->addWidget(header, 1);

  // The tag boxes, two to a row.
  auto* tags = new QGridLayout;
  for (int i = 0; i < 8; ++i) {
    const int row = i / 2;
    const int col = (i % 2) * 2;
    // Members of a control array: each widget's name carries its index.
    auto* label = binder_.Make<QLabel>(side, f.Text4Labels[static_cast<std::size_t>(i)], InLayout);
    label->setObjectName(QStringLiteral("Label4_%1").arg(i + 1));
    auto* box = binder_.Make<QLineEdit>(side, f.Text4(i + 1), InLayout);
    box->setObjectName(QStringLiteral("Text4_%1").arg(i + 1));
    tags->addWidget(label, row, col);
    tags->addWidget(box, row, col + 1);
  }
  tags->setColumnStretch(1, 1);
  tags->setColumnStretch(3, 1);
  column->addLayout(tags);

  auto* commands = new QHBoxLayout;
  for (auto* c : {&f.cmdTag, &f.Command2, &f.Command10}) {
    auto* b = binder_.Make<QPushButton>(side, *c, InLayout);
    commands->addWidget(b);
  }
  column->addLayout(commands);
  return side;
}

}  // namespace korvalin
