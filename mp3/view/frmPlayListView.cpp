#include "mp3/view/frmPlayListView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

template <typename W>
W* Named(W* widget, const std::string& name) {
  widget->setObjectName(QString::fromStdString(name));
  return widget;
}

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
  auto* scratch = Named(new QListWidget(this), form.List3.Name());
  binder_.Bind(scratch, form.List3);
  binder_.Bind(this, this, form.window);
}

QWidget* frmPlayListView::BuildPlaylistSide() {
  frmPlayList& f = form_;
  auto* side = new QWidget;
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);

  auto* playlist = Named(new QListWidget(side), f.List2.Name());
  binder_.Bind(playlist, f.List2, InLayout);
  column->addWidget(playlist, 1);

  auto* commands = new QHBoxLayout;
  for (auto* c : {&f.Command20, &f.Command6}) {
    auto* b = Named(new QPushButton(side), c->Name());
    binder_.Bind(b, *c, InLayout);
    commands->addWidget(b);
  }
  commands->addStretch(1);
  for (auto* c : {&f.Command11, &f.Command12}) {
    auto* b = Named(new QToolButton(side), c->Name());
    b->setIconSize(QSize(20, 20));
    binder_.Bind(b, *c, InLayout);
    commands->addWidget(b);
  }
  column->addLayout(commands);

  auto* addToFiles = Named(new QCheckBox(side), f.Check11.Name());
  binder_.Bind(addToFiles, f.Check11, InLayout);
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
  auto* current = Named(new QLineEdit(side), f.Text5.Name());
  binder_.Bind(current, f.Text5, InLayout);
  fileRow->addWidget(current, 1);
  auto* choose = Named(new QPushButton(side), f.cmdHdr1.Name());
  choose->setMaximumWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
  binder_.Bind(choose, f.cmdHdr1, InLayout);
  fileRow->addWidget(choose);
  auto* read = Named(new QPushButton(side), f.cmdHdr2.Name());
  binder_.Bind(read, f.cmdHdr2, InLayout);
  fileRow->addWidget(read);
  column->addLayout(fileRow);

  auto* header = Named(new QListWidget(side), f.List1.Name());
  binder_.Bind(header, f.List1, InLayout);
  column->addWidget(header, 1);

  // The tag boxes, two to a row.
  auto* tags = new QGridLayout;
  for (int i = 0; i < 8; ++i) {
    const int row = i / 2;
    const int col = (i % 2) * 2;
    auto* label = Named(new QLabel(side), "Label4_" + std::to_string(i + 1));
    binder_.Bind(label, f.Text4Labels[static_cast<std::size_t>(i)], InLayout);
    auto* box = Named(new QLineEdit(side), "Text4_" + std::to_string(i + 1));
    binder_.Bind(box, f.Text4(i + 1), InLayout);
    tags->addWidget(label, row, col);
    tags->addWidget(box, row, col + 1);
  }
  tags->setColumnStretch(1, 1);
  tags->setColumnStretch(3, 1);
  column->addLayout(tags);

  auto* commands = new QHBoxLayout;
  for (auto* c : {&f.cmdTag, &f.Command2, &f.Command10}) {
    auto* b = Named(new QPushButton(side), c->Name());
    binder_.Bind(b, *c, InLayout);
    commands->addWidget(b);
  }
  column->addLayout(commands);
  return side;
}

void frmPlayListView::closeEvent(QCloseEvent* event) {
  bool cancel = false;
  if (form_.window.OnQueryUnload) form_.window.OnQueryUnload(cancel);
  if (cancel) {
    event->ignore();
    return;
  }
  controls::Fire(form_.window.OnUnload);
  event->accept();
}

}  // namespace korvalin
