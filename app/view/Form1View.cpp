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
#include "platform/qt/FormViews.h"
#include "platform/qt/Safely.h"

namespace korvalin {
namespace {


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

}  // namespace

Form1View::Form1View(Form1& form) : form_(form) {
  setObjectName("Form1");
  binder_.SetPictureFolder(ProgramDataFolder(form.services.programFolder) + "/pictures");
  binder_.BindMenuBar(menuBar(), form.MenuBar());
  popup_ = binder_.BuildMenu(this, form.mnupopup);
  // The pop-up's own handler sets its items up each time it opens.
  QObject::connect(popup_, &QMenu::aboutToShow, this, [&form] { Safely([&] { form.mnupopup.Click(); }); });

  auto* surface = new QWidget(this);
  setCentralWidget(surface);
  auto region = [&](controls::PictureBox& box) {
    auto* frame = binder_.Make<QFrame>(surface, box);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
  };
  auto* toolbar = region(form.Picture3);
  auto* cdBar = region(form.Picture4);
  auto* nextAction = region(form.Picture5);
  auto* treeArea = region(form.Picture7);
  auto* options = region(form.Picture8);
  auto* activity = region(form.Picture2);
  auto* status = region(form.Picture1);

  // Toolbar: pictures, with the command's name as the tool tip.
  MainToolbar& t = form.toolbar;
  for (auto* b : {&t.CmdSelectAction, &t.C777, &t.C5555555, &t.Copt, &t.Cmdhelp, &t.Command4, &t.Command1, &t.Command2,
                  &t.Command5, &t.Command7}) {
    auto* button = binder_.Make<QToolButton>(toolbar, *b);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
  }
  binder_.Make<QLabel>(toolbar, t.Label5)->setStyleSheet("color: red");

  // CD bar.
  binder_.Make<QComboBox>(cdBar, form.cdBar.cmbDrives);
  binder_.Make<QPushButton>(cdBar, form.cdBar.cmdRefresh);
  binder_.Make<QToolButton>(cdBar, form.cdBar.Command11);
  binder_.Make<QToolButton>(cdBar, form.cdBar.Command12);
  binder_.Make<QCheckBox>(cdBar, form.cdBar.Check3);
  binder_.Make<QLabel>(cdBar, form.cdBar.lblCDID);
  binder_.Make<QLabel>(cdBar, form.cdBar.lblNumTracks);
  binder_.Make<QToolButton>(cdBar, form.windows.discInfo.cmdDiscInfo)->setAutoRaise(true);

  // Next-action strip.
  binder_.Make<MiddleElidedLabel>(nextAction, form.displays.Label3);
  for (auto* b : {&form.jobButtons.cmdStart, &form.jobButtons.cmdEncFile, &form.jobButtons.CmdDecoder, &form.jobButtons.Command8}) {
    binder_.Make<QPushButton>(nextAction, *b);
  }

  // Tree area.
  auto* tree = binder_.Make<QTreeWidget>(treeArea, form.collection.Shown().TreeView1);
  tree->setContextMenuPolicy(Qt::CustomContextMenu);

  // Options panel.
  binder_.Make<QLabel>(options, form.options.lblBitrate);
  binder_.Make<QComboBox>(options, form.options.cmbBitrate);
  binder_.Make<QLabel>(options, form.options.lblQuality);
  binder_.Make<QComboBox>(options, form.options.cmbQuality);
  for (auto* box : {&form.options.chkCRC, &form.options.chkPrivate, &form.options.chkOriginal,
                    &form.options.chkCopyright, &form.options.Chk2Stage}) {
    binder_.Make<QCheckBox>(options, *box);
  }
  binder_.Make<QRadioButton>(options, form.options.optMP3);
  binder_.Make<QRadioButton>(options, form.options.optWAV);
  binder_.Make<QListWidget>(options, form.collection.Shown().lstTracks);
  binder_.Make<QListWidget>(options, form.collection.Shown().lstRecord);

  // Activity and status bars.
  binder_.Make<MiddleElidedLabel>(activity, form.displays.Label2);
  binder_.Make<QProgressBar>(status, form.displays.ProgressBar1)->setTextVisible(false);
  binder_.Make<QLabel>(status, form.displays.Label33);
  binder_.Make<QLabel>(status, form.displays.lblStatus);

  binder_.Bind(form.services.screen);
  surface->setMinimumSize(PixelsFromTwips(form.MinimumScaleWidth()), PixelsFromTwips(form.MinimumScaleHeight()));
  binder_.Bind(this, surface, form.window);
  for (const auto& owned : form.windows.forms.All()) {
    if (auto view = MakeView(owned, ProgramDataFolder(form.services.programFolder) + "/pictures")) views_.emplace_back(owned.form, std::move(view));
  }
  popupConnection_ = form.window.PopupRequested.Connect([this](controls::MenuItem* menu) {
    if (menu == &form_.mnupopup) popup_->popup(QCursor::pos());
  });
}

// The binding has asked the form (or the form closed itself); a close that goes ahead ends the
// program, whatever other windows are open.
void Form1View::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();
}

}  // namespace korvalin
