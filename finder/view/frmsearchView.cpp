#include "finder/view/frmsearchView.h"

#include <QCheckBox>
#include <QCloseEvent>
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

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

template <typename W>
W* Named(W* widget, const std::string& name) {
  widget->setObjectName(QString::fromStdString(name));
  return widget;
}

}  // namespace

frmsearchView::frmsearchView(frmsearch& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("frmsearch");
  auto* tabs = Named(new QTabWidget(this), form.SSTab1.Name());
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

  auto label = [&](controls::Label& c) {
    auto* w = Named(new QLabel(page), c.Name());
    binder_.Bind(w, c, InLayout);
    return w;
  };
  auto edit = [&](controls::TextBox& c) {
    auto* w = Named(new QLineEdit(page), c.Name());
    binder_.Bind(w, c, InLayout);
    return w;
  };
  auto button = [&](controls::CommandButton& c) {
    auto* w = Named(new QPushButton(page), c.Name());
    binder_.Bind(w, c, InLayout);
    return w;
  };
  auto list = [&](controls::ListBox& c) {
    auto* w = Named(new QListWidget(page), c.Name());
    binder_.Bind(w, c, InLayout);
    return w;
  };

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

  auto* hide = Named(new QCheckBox(page), f.chkhidelist.Name());
  binder_.Bind(hide, f.chkhidelist, InLayout);
  grid->addWidget(hide, 2, 0, 1, 2);
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

  auto* engineLabel = Named(new QLabel(page), f.Label4.Name());
  binder_.Bind(engineLabel, f.Label4, InLayout);
  auto* engine = Named(new QComboBox(page), f.search1.Name());
  binder_.Bind(engine, f.search1, InLayout);
  engine->setMinimumContentsLength(12);
  auto* keywords = Named(new QLineEdit(page), f.Text3.Name());
  binder_.Bind(keywords, f.Text3, InLayout);
  auto* search = Named(new QPushButton(page), f.Cmdwebsearch.Name());
  binder_.Bind(search, f.Cmdwebsearch, InLayout);

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

void frmsearchView::closeEvent(QCloseEvent* event) {
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
