#include "app/view/Form1View.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/UserFolders.h"

namespace korvalin {
namespace {

QFrame* Region(QWidget* parent, const char* name) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

// A one-line label that shortens a text too long for it in the middle, so both the start of a
// path and its file name stay in sight.
class MiddleElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect room = contentsRect();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()));
  }
};

template <typename Widget>
Widget* Named(QWidget* parent, const std::string& name) {
  auto* w = new Widget(parent);
  w->setObjectName(QString::fromStdString(name));
  return w;
}

}  // namespace

Form1View::Form1View(Form1& form) : form_(form) {
  setObjectName("Form1");
  binder_.SetPictureFolder(ProgramDataFolder(form.services.programFolder) + "/pictures");
  binder_.BindMenuBar(menuBar(), form.MenuBar());
  popup_ = binder_.BuildMenu(this, form.mnupopup);
  // The pop-up's own handler sets its items up each time it opens.
  QObject::connect(popup_, &QMenu::aboutToShow, this, [&form] {
    try {
      form.mnupopup.Click();
    } catch (const std::exception&) {
    }
  });

  auto* surface = new QWidget(this);
  setCentralWidget(surface);
  auto* toolbar = Region(surface, "Picture3");
  auto* cdBar = Region(surface, "Picture4");
  auto* nextAction = Region(surface, "Picture5");
  auto* treeArea = Region(surface, "Picture7");
  auto* options = Region(surface, "Picture8");
  auto* activity = Region(surface, "Picture2");
  auto* status = Region(surface, "Picture1");
  binder_.Bind(toolbar, form.Picture3);
  binder_.Bind(cdBar, form.Picture4);
  binder_.Bind(nextAction, form.Picture5);
  binder_.Bind(treeArea, form.Picture7);
  binder_.Bind(options, form.Picture8);
  binder_.Bind(activity, form.Picture2);
  binder_.Bind(status, form.Picture1);

  // Toolbar: pictures, with the command's name as the tool tip.
  for (auto* b : {&form.CmdSelectAction, &form.C777, &form.C5555555, &form.Copt, &form.Cmdhelp, &form.Command4,
                  &form.Command1, &form.Command2, &form.Command5, &form.Command7}) {
    auto* button = Named<QToolButton>(toolbar, b->Name());
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    binder_.Bind(button, *b);
  }
  auto* lowSpace = Named<QLabel>(toolbar, "Label5");
  lowSpace->setStyleSheet("color: red");
  binder_.Bind(lowSpace, form.Label5);

  // CD bar.
  binder_.Bind(Named<QComboBox>(cdBar, "cmbDrives"), form.cmbDrives);
  binder_.Bind(Named<QPushButton>(cdBar, "cmdRefresh"), form.cmdRefresh);
  binder_.Bind(Named<QToolButton>(cdBar, "Command11"), form.Command11);
  binder_.Bind(Named<QToolButton>(cdBar, "Command12"), form.Command12);
  binder_.Bind(Named<QCheckBox>(cdBar, "Check3"), form.Check3);
  binder_.Bind(Named<QLabel>(cdBar, "lblCDID"), form.lblCDID);
  binder_.Bind(Named<QLabel>(cdBar, "lblNumTracks"), form.lblNumTracks);

  // Next-action strip.
  binder_.Bind(Named<MiddleElidedLabel>(nextAction, "Label3"), form.Label3);
  for (auto* b : {&form.cmdStart, &form.cmdEncFile, &form.CmdDecoder, &form.Command8}) {
    binder_.Bind(Named<QPushButton>(nextAction, b->Name()), *b);
  }

  // Tree area.
  auto* tree = Named<QTreeWidget>(treeArea, "TreeView1");
  binder_.Bind(tree, form.collection.TreeView1);
  tree->setContextMenuPolicy(Qt::CustomContextMenu);

  // Options panel.
  binder_.Bind(Named<QLabel>(options, "lblBitrate"), form.lblBitrate);
  binder_.Bind(Named<QComboBox>(options, "cmbBitrate"), form.cmbBitrate);
  binder_.Bind(Named<QLabel>(options, "lblQuality"), form.lblQuality);
  binder_.Bind(Named<QComboBox>(options, "cmbQuality"), form.cmbQuality);
  for (auto* box : {&form.chkCRC, &form.chkPrivate, &form.chkOriginal, &form.chkCopyright, &form.Chk2Stage}) {
    binder_.Bind(Named<QCheckBox>(options, box->Name()), *box);
  }
  binder_.Bind(Named<QRadioButton>(options, "optMP3"), form.optMP3);
  binder_.Bind(Named<QRadioButton>(options, "optWAV"), form.optWAV);
  binder_.Bind(Named<QListWidget>(options, "lstTracks"), form.collection.lstTracks);
  binder_.Bind(Named<QListWidget>(options, "lstRecord"), form.collection.lstRecord);

  // Activity and status bars.
  binder_.Bind(Named<MiddleElidedLabel>(activity, "Label2"), form.Label2);
  auto* progress = Named<QProgressBar>(status, "ProgressBar1");
  progress->setTextVisible(false);
  binder_.Bind(progress, form.ProgressBar1);
  binder_.Bind(Named<QLabel>(status, "Label33"), form.Label33);
  binder_.Bind(Named<QLabel>(status, "lblStatus"), form.lblStatus);

  binder_.Bind(form.services.screen);
  binder_.Bind(this, surface, form.window);
  finderView_ = std::make_unique<frmsearchView>(form.finder);
  playlistView_ = std::make_unique<frmPlayListView>(form.playlistEditor, ProgramDataFolder(form.services.programFolder) + "/pictures");
  prefsView_ = std::make_unique<FrmPrefsView>(form.prefs, ProgramDataFolder(form.services.programFolder) + "/pictures");
  trayView_ = std::make_unique<frmpopupView>(form.trayForm, binder_.PictureFolder());
  popupConnection_ = form.window.PopupRequested.Connect([this](controls::MenuItem* menu) {
    if (menu == &form_.mnupopup) popup_->popup(QCursor::pos());
  });
}

void Form1View::closeEvent(QCloseEvent* event) {
  if (form_.Unloaded()) {  // the form unloaded itself (the exit command): only the window is left
    event->accept();
    QCoreApplication::quit();
    return;
  }
  bool cancel = false;
  if (form_.window.OnQueryUnload) form_.window.OnQueryUnload(cancel);
  if (cancel) {
    event->ignore();
    return;
  }
  controls::Fire(form_.window.OnUnload);
  event->accept();
  // Closing the main window ends the program, whatever other windows are open.
  QCoreApplication::quit();
}

}  // namespace korvalin
