#include "app/view/Form1View.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

namespace korvalin {
namespace {

QFrame* Region(QWidget* parent, const char* name) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

}  // namespace

Form1View::Form1View(Form1& form) : form_(form) {
  setObjectName("Form1");
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

  binder_.Bind(new QLabel(nextAction), form.Label3);
  binder_.Bind(new QLabel(activity), form.Label2);
  auto* progress = new QProgressBar(status);
  progress->setTextVisible(false);
  binder_.Bind(progress, form.ProgressBar1);
  binder_.Bind(new QLabel(status), form.Label33);
  binder_.Bind(new QLabel(status), form.lblStatus);

  binder_.Bind(this, surface, form.window);
}

void Form1View::closeEvent(QCloseEvent* event) {
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
