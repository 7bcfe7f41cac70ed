#include "settings/view/FrmPrefsView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

}  // namespace

template <typename W, typename C>
W* FrmPrefsView::Make(QWidget* parent, C& control) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromStdString(control.Name()));
  binder_.Bind(w, control, InLayout);
  return w;
}

FrmPrefsView::FrmPrefsView(FrmPrefs& form, const std::string& pictureFolder, QWidget* parent)
    : QWidget(parent), form_(form), pictureFolder_(pictureFolder) {
  setObjectName("FrmPrefs");
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QString::fromStdString(form.SSTab1.Name()));
  tabs->addTab(BuildDiskSpacePage(), QString());
  tabs->addTab(BuildAudioPage(), QString());
  tabs->addTab(BuildDestinationPage(), QString());
  tabs->addTab(BuildAccuracyPage(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  binder_.Bind(tabs, form.SSTab1, InLayout);
  binder_.Bind(this, this, form.window);
}

QWidget* FrmPrefsView::BuildDiskSpacePage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(Make<QCheckBox>(page, f.Check6), 0, 0);
  auto* warning = Make<QLineEdit>(page, f.Text7);
  warning->setMaximumWidth(warning->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
  grid->addWidget(warning, 0, 1);
  grid->addWidget(Make<QLabel>(page, f.lblWarningUnit), 0, 2);
  grid->addWidget(Make<QCheckBox>(page, f.Check7), 1, 0);
  auto* stop = Make<QLineEdit>(page, f.Text8);
  stop->setMaximumWidth(warning->maximumWidth());
  grid->addWidget(stop, 1, 1);
  grid->addWidget(Make<QLabel>(page, f.lblStopUnit), 1, 2);
  grid->addWidget(Make<QPushButton>(page, f.Command1), 1, 4);

  auto* listing = Make<QPlainTextEdit>(page, f.Text6);
  listing->setReadOnly(true);
  grid->addWidget(listing, 2, 0, 1, 5);

  auto* destination = new QHBoxLayout;
  destination->addWidget(Make<QLabel>(page, f.lblDestinationDrive));
  destination->addWidget(Make<QLabel>(page, f.lblDestinationRoot));
  destination->addWidget(Make<QLabel>(page, f.Label4));
  destination->addWidget(Make<QLabel>(page, f.lblDestinationUnit));
  destination->addStretch(1);
  grid->addLayout(destination, 3, 0, 1, 4);
  grid->addWidget(Make<QPushButton>(page, f.Command3), 3, 4);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* FrmPrefsView::BuildAudioPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(Make<QLabel>(page, f.lblAudioFormat), 0, 0);
  grid->addWidget(Make<QComboBox>(page, f.cbxFormat), 0, 1, 1, 3);
  grid->addWidget(Make<QCheckBox>(page, f.Check3), 1, 0, 1, 4);

  // A button with its explaining label beside it, on one row.
  auto besideLabel = [&](QAbstractButton* button, controls::Label& label, int row) {
    auto* line = new QHBoxLayout;
    line->addWidget(button);
    line->addWidget(Make<QLabel>(page, label));
    line->addStretch(1);
    grid->addLayout(line, row, 0, 1, 4);
  };
  auto* mute = new QPushButton(page);
  mute->setObjectName(QString::fromStdString(f.Check1.Name()));
  binder_.BindToggle(mute, f.Check1, InLayout);
  besideLabel(mute, f.lblMute, 2);

  grid->addWidget(Make<QCheckBox>(page, f.Check11), 3, 0, 1, 4);
  grid->addWidget(Make<QCheckBox>(page, f.Check10), 4, 0, 1, 4);
  grid->addWidget(Make<QCheckBox>(page, f.Check5), 5, 0, 1, 4);

  auto* tray = new QToolButton(page);
  tray->setObjectName(QString::fromStdString(f.Check4.Name()));
  tray->setIcon(QIcon(QString::fromStdString(pictureFolder_ + "/tray.svg")));
  tray->setIconSize(QSize(24, 24));
  binder_.BindToggle(tray, f.Check4, InLayout);
  besideLabel(tray, f.lblTray, 6);

  grid->addWidget(Make<QLabel>(page, f.lblQuality), 7, 0);
  grid->addWidget(Make<QComboBox>(page, f.Combo1), 7, 1);
  grid->addWidget(Make<QLabel>(page, f.lblBitrate), 7, 2);
  grid->addWidget(Make<QComboBox>(page, f.Combo2), 7, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(8, 1);
  return page;
}

QWidget* FrmPrefsView::BuildDestinationPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  auto* left = new QVBoxLayout;
  left->addWidget(Make<QLabel>(page, f.lblPath));
  left->addWidget(Make<QLineEdit>(page, f.Text9));
  left->addWidget(Make<QCheckBox>(page, f.Check2));

  auto* panel = new QFrame(page);
  panel->setObjectName(QString::fromStdString(f.Picture6.Name()));
  panel->setFrameShape(QFrame::StyledPanel);
  binder_.Bind(panel, f.Picture6, InLayout);
  auto* steps = new QVBoxLayout(panel);
  steps->addWidget(Make<QLineEdit>(panel, f.Text10));
  for (auto* label : {&f.lblCreate0, &f.lblCreate1, &f.lblCreate2, &f.lblCreate3}) {
    auto* w = Make<QLabel>(panel, *label);
    w->setWordWrap(true);
    steps->addWidget(w);
  }
  left->addWidget(panel);
  left->addStretch(1);
  auto* create = new QHBoxLayout;
  create->addStretch(1);
  create->addWidget(Make<QPushButton>(page, f.Co111));
  left->addLayout(create);
  grid->addLayout(left, 0, 0);

  auto* folders = Make<QTreeView>(page, f.Dir2);
  folders->setMinimumWidth(200);
  grid->addWidget(folders, 0, 1);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  return page;
}

QWidget* FrmPrefsView::BuildAccuracyPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->addWidget(Make<QCheckBox>(page, f.chkSecureReading));
  auto* explanation = Make<QLabel>(page, f.lblSecureReading);
  explanation->setWordWrap(true);
  column->addWidget(explanation);
  column->addStretch(1);
  return page;
}

void FrmPrefsView::closeEvent(QCloseEvent* event) {
  controls::Fire(form_.window.OnUnload);
  event->accept();
}

}  // namespace korvalin
