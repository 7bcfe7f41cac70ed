#include "finder/view/frmsearchView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWebEngineView>

#include "platform/qt/FormViews.h"

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

const ViewOf<frmsearch, frmsearchView> registered;

}  // namespace

frmsearchView::frmsearchView(frmsearch& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("frmsearch");
  // The tab strip is bound once it holds its pages: the control gives their captions.
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QString::fromStdString(form.SSTab1.Name()));
  tabs->addTab(BuildLocalPage(), QString());
  internetPage_ = BuildInternetPage();
  tabs->addTab(internetPage_, QString());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  binder_.Bind(tabs, form.SSTab1, InLayout);

  popup_ = binder_.BuildMenu(this, form.mnupopup);
  popupConnection_ = form.window.PopupRequested.Connect([this](controls::MenuItem* menu) {
    if (menu == &form_.mnupopup) popup_->popup(QCursor::pos());
  });
  // The browser is in place before the window can be shown and activated.
  form.SetWebBrowser(browser_.get());
  binder_.Bind(this, this, form.window);
}

frmsearchView::~frmsearchView() { form_.SetWebBrowser(nullptr); }

QWidget* frmsearchView::BuildLocalPage() {
  frmsearch& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  auto label = [&](controls::Label& c) { return binder_.Make<QLabel>(page, c, InLayout); };
  auto edit = [&](controls::TextBox& c) { return binder_.Make<QLineEdit>(page, c, InLayout); };
  auto button = [&](controls::CommandButton& c) { return binder_.Make<QPushButton>(page, c, InLayout); };
  auto list = [&](controls::ListBox& c) { return binder_.Make<QListWidget>(page, c, InLayout); };

  // Where to look.
  grid->addWidget(label(f.lblDir1), 0, 0);
  grid->addWidget(edit(f.Dir1), 0, 1, 1, 3);
  grid->addWidget(button(f.cmdBrowse), 0, 4);

  // What to look for.
  auto* filters = new QHBoxLayout;
  filters->addWidget(label(f.Label3_0));
  auto* type = edit(f.zFileExt);
  type->setMaximumWidth(type->fontMetrics().horizontalAdvance(QStringLiteral("M.MMMM")));
  filters->addWidget(type);
  filters->addSpacing(12);
  filters->addWidget(label(f.Label3_1));
  filters->addWidget(edit(f.Text1), 1);
  grid->addLayout(filters, 1, 0, 1, 5);

  grid->addWidget(binder_.Make<QCheckBox>(page, f.chkhidelist, InLayout), 2, 0, 1, 2);
  grid->addWidget(button(f.Command1), 2, 4);
  grid->addWidget(label(f.lbltime), 3, 0, 1, 5);

  // Found files beside the folder queue and the folder log.
  grid->addWidget(list(f.lstfiles), 4, 0, 2, 3);
  grid->addWidget(list(f.lstdirs), 4, 3, 1, 2);
  grid->addWidget(list(f.List1), 5, 3, 1, 2);
  grid->setRowStretch(4, 1);
  grid->setRowStretch(5, 2);
  grid->setColumnStretch(1, 1);

  grid->addWidget(label(f.Label1), 6, 0, 1, 5);
  grid->addWidget(label(f.Label2), 7, 0, 1, 4);
  grid->addWidget(button(f.cmdend), 7, 4);
  return page;
}

QWidget* frmsearchView::BuildInternetPage() {
  frmsearch& f = form_;
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);

  auto* engineLabel = binder_.Make<QLabel>(page, f.Label4, InLayout);
  auto* engine = binder_.Make<QComboBox>(page, f.search1, InLayout);
  engine->setMinimumContentsLength(12);
  auto* keywords = binder_.Make<QLineEdit>(page, f.Text3, InLayout);
  auto* search = binder_.Make<QPushButton>(page, f.Cmdwebsearch, InLayout);

  grid->addWidget(engineLabel, 0, 0);
  grid->addWidget(engine, 0, 1);
  grid->addWidget(keywords, 0, 2);
  grid->addWidget(search, 0, 3);
  grid->setColumnStretch(2, 1);

  browser_ = std::make_unique<QtWebBrowser>(page);
  QWebEngineView* web = browser_->View();
  web->setObjectName("Web1");
  web->setMinimumHeight(200);
  grid->addWidget(web, 1, 0, 1, 4);
  grid->setRowStretch(1, 1);
  return page;
}

}  // namespace korvalin
