#include "settings/view/FrmPrefsView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/qt/FormViews.h"

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

const ViewOf<FrmPrefs, FrmPrefsView> registered;

}  // namespace

FrmPrefsView::FrmPrefsView(FrmPrefs& form, const std::string& pictureFolder, QWidget* parent)
    : QWidget(parent), form_(form), pictureFolder_(pictureFolder) {
  setObjectName("FrmPrefs");
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QString::fromStdString(form.SSTab1.Name()));
  tabs->addTab(BuildDiskSpacePage(), QString());
  tabs->addTab(BuildAudioPage(), QString());
  tabs->addTab(BuildDestinationPage(), QString());
  tabs->addTab(BuildAccuracyPage(), QString());
  tabs->addTab(BuildDiscInfoPage(), QString());
  tabs->addTab(BuildTagsAndNamesPage(), QString());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  binder_.Bind(tabs, form.SSTab1, InLayout);
  binder_.Bind(this, this, form.window);
}

QWidget* FrmPrefsView::BuildDiskSpacePage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check6, InLayout), 0, 0);
  auto* warning = binder_.Make<QLineEdit>(page, f.Text7, InLayout);
  // Wide enough to show the largest threshold whole.
  const int boxWidth = warning->fontMetrics().horizontalAdvance(QStringLiteral("0000000"));
  warning->setFixedWidth(boxWidth);
  grid->addWidget(warning, 0, 1);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblWarningUnit, InLayout), 0, 2);
  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check7, InLayout), 1, 0);
  auto* stop = binder_.Make<QLineEdit>(page, f.Text8, InLayout);
  stop->setFixedWidth(boxWidth);
  grid->addWidget(stop, 1, 1);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblStopUnit, InLayout), 1, 2);
  grid->addWidget(binder_.Make<QPushButton>(page, f.Command1, InLayout), 1, 4);

  auto* listing = binder_.Make<QPlainTextEdit>(page, f.Text6, InLayout);
  listing->setReadOnly(true);
  grid->addWidget(listing, 2, 0, 1, 5);

  auto* destination = new QHBoxLayout;
  destination->addWidget(binder_.Make<QLabel>(page, f.lblDestinationDrive, InLayout));
  destination->addWidget(binder_.Make<QLabel>(page, f.lblDestinationRoot, InLayout));
  destination->addWidget(binder_.Make<QLabel>(page, f.Label4, InLayout));
  destination->addWidget(binder_.Make<QLabel>(page, f.lblDestinationUnit, InLayout));
  destination->addStretch(1);
  grid->addLayout(destination, 3, 0, 1, 4);
  grid->addWidget(binder_.Make<QPushButton>(page, f.Command3, InLayout), 3, 4);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* FrmPrefsView::BuildAudioPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblAudioFormat, InLayout), 0, 0);
  grid->addWidget(binder_.Make<QComboBox>(page, f.cbxFormat, InLayout), 0, 1, 1, 3);
  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check3, InLayout), 1, 0, 1, 4);

  // A button with its explaining label beside it, on one row.
  auto besideLabel = [&](QAbstractButton* button, controls::Label& label, int row) {
    auto* line = new QHBoxLayout;
    line->addWidget(button);
    line->addWidget(binder_.Make<QLabel>(page, label, InLayout));
    line->addStretch(1);
    grid->addLayout(line, row, 0, 1, 4);
  };
  auto* mute = new QPushButton(page);
  mute->setObjectName(QString::fromStdString(f.Check1.Name()));
  binder_.BindToggle(mute, f.Check1, InLayout);
  besideLabel(mute, f.lblMute, 2);

  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check11, InLayout), 3, 0, 1, 4);
  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check10, InLayout), 4, 0, 1, 4);
  grid->addWidget(binder_.Make<QCheckBox>(page, f.Check5, InLayout), 5, 0, 1, 4);

  auto* tray = new QToolButton(page);
  tray->setObjectName(QString::fromStdString(f.Check4.Name()));
  tray->setIcon(QIcon(QString::fromStdString(pictureFolder_ + "/tray.svg")));
  tray->setIconSize(QSize(24, 24));
  binder_.BindToggle(tray, f.Check4, InLayout);
  besideLabel(tray, f.lblTray, 6);

  grid->addWidget(binder_.Make<QLabel>(page, f.lblQuality, InLayout), 7, 0);
  grid->addWidget(binder_.Make<QComboBox>(page, f.Combo1, InLayout), 7, 1);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblBitrate, InLayout), 7, 2);
  grid->addWidget(binder_.Make<QComboBox>(page, f.Combo2, InLayout), 7, 3);
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
  left->addWidget(binder_.Make<QLabel>(page, f.lblPath, InLayout));
  left->addWidget(binder_.Make<QLineEdit>(page, f.Text9, InLayout));
  left->addWidget(binder_.Make<QCheckBox>(page, f.Check2, InLayout));

  auto* panel = binder_.Make<QFrame>(page, f.Picture6, InLayout);
  panel->setFrameShape(QFrame::StyledPanel);
  auto* steps = new QVBoxLayout(panel);
  steps->addWidget(binder_.Make<QLineEdit>(panel, f.Text10, InLayout));
  for (auto* label : {&f.lblCreate0, &f.lblCreate1, &f.lblCreate2, &f.lblCreate3}) {
    auto* w = binder_.Make<QLabel>(panel, *label, InLayout);
    w->setWordWrap(true);
    steps->addWidget(w);
  }
  left->addWidget(panel);
  left->addStretch(1);
  auto* create = new QHBoxLayout;
  create->addStretch(1);
  create->addWidget(binder_.Make<QPushButton>(page, f.Co111, InLayout));
  left->addLayout(create);
  grid->addLayout(left, 0, 0);

  auto* folders = binder_.Make<QTreeView>(page, f.Dir2, InLayout);
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
  column->addWidget(binder_.Make<QCheckBox>(page, f.chkSecureReading, InLayout));
  auto* explanation = binder_.Make<QLabel>(page, f.lblSecureReading, InLayout);
  explanation->setWordWrap(true);
  column->addWidget(explanation);
  auto* offset = new QHBoxLayout;
  offset->addWidget(binder_.Make<QLabel>(page, f.lblReadOffset, InLayout));
  auto* samples = binder_.Make<QLineEdit>(page, f.txtReadOffset, InLayout);
  samples->setMaximumWidth(80);
  offset->addWidget(samples);
  offset->addWidget(binder_.Make<QLabel>(page, f.lblReadOffsetUnit, InLayout));
  offset->addStretch(1);
  column->addLayout(offset);
  for (auto* label : {&f.lblReadOffsetNote, &f.lblReadOffsetRefused}) {
    auto* w = binder_.Make<QLabel>(page, *label, InLayout);
    w->setWordWrap(true);
    column->addWidget(w);
  }
  column->addStretch(1);
  return page;
}

QWidget* FrmPrefsView::BuildDiscInfoPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->addWidget(binder_.Make<QCheckBox>(page, f.chkLookupOnline, InLayout));
  auto* explanation = binder_.Make<QLabel>(page, f.lblLookupOnline, InLayout);
  explanation->setWordWrap(true);
  column->addWidget(explanation);
  auto* grid = new QGridLayout;
  grid->addWidget(binder_.Make<QLabel>(page, f.lblSources, InLayout), 0, 0);
  grid->addWidget(binder_.Make<QComboBox>(page, f.cmbSources, InLayout), 0, 1);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblCountry, InLayout), 1, 0);
  auto* country = binder_.Make<QLineEdit>(page, f.txtCountry, InLayout);
  country->setFixedWidth(country->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")));
  grid->addWidget(country, 1, 1, Qt::AlignLeft);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblMusicBrainzUrl, InLayout), 2, 0);
  grid->addWidget(binder_.Make<QLineEdit>(page, f.txtMusicBrainzUrl, InLayout), 2, 1);
  grid->addWidget(binder_.Make<QLabel>(page, f.lblGnudbUrl, InLayout), 3, 0);
  grid->addWidget(binder_.Make<QLineEdit>(page, f.txtGnudbUrl, InLayout), 3, 1);
  grid->setColumnStretch(1, 1);
  column->addLayout(grid);
  auto* note = binder_.Make<QLabel>(page, f.lblAddressNote, InLayout);
  note->setWordWrap(true);
  column->addWidget(note);
  column->addStretch(1);
  return page;
}

QWidget* FrmPrefsView::BuildTagsAndNamesPage() {
  FrmPrefs& f = form_;
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  auto* tags = new QHBoxLayout;
  tags->addWidget(binder_.Make<QLabel>(page, f.lblTagVersion, InLayout));
  tags->addWidget(binder_.Make<QComboBox>(page, f.cmbTagVersion, InLayout));
  tags->addStretch(1);
  column->addLayout(tags);
  column->addWidget(binder_.Make<QCheckBox>(page, f.chkNameFromTags, InLayout));
  auto* nameTemplate = new QHBoxLayout;
  nameTemplate->addWidget(binder_.Make<QLabel>(page, f.lblNameTemplate, InLayout));
  nameTemplate->addWidget(binder_.Make<QLineEdit>(page, f.txtNameTemplate, InLayout), 1);
  column->addLayout(nameTemplate);
  auto* fields = binder_.Make<QLabel>(page, f.lblNameFields, InLayout);
  fields->setWordWrap(true);
  column->addWidget(fields);
  column->addWidget(binder_.Make<QCheckBox>(page, f.chkFatSafeNames, InLayout));
  column->addWidget(binder_.Make<QLabel>(page, f.lblNamePreview, InLayout));
  column->addWidget(binder_.Make<QListWidget>(page, f.lstNamePreview, InLayout), 1);
  return page;
}

}  // namespace korvalin
