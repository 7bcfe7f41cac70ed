// The About box on screen: the program line, the list of libraries and the OK button.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "about/frmAbout.h"
#include "platform/qt/Binder.h"
#include "platform/qt/FormViews.h"

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

class frmAboutView : public QWidget {
 public:
  explicit frmAboutView(frmAbout& form) {
    setObjectName("frmAbout");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(binder_.Make<QLabel>(this, form.lblProgram, InLayout));
    layout->addWidget(binder_.Make<QListWidget>(this, form.lstLibraries, InLayout));
    layout->addWidget(binder_.Make<QPushButton>(this, form.cmdOK, InLayout), 0, Qt::AlignRight);
    binder_.Bind(this, this, form.window);
  }

 private:
  Binder binder_;
};

const ViewOf<frmAbout, frmAboutView> registered;

}  // namespace
}  // namespace korvalin
