#include "desktop/view/frmpopupView.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>

#include "platform/qt/FormViews.h"

namespace korvalin {

frmpopupView::frmpopupView(frmpopup& form, const std::string& pictureFolder) : form_(form) {
  setObjectName("frmpopup");
  setWindowIcon(QIcon(QString::fromStdString(pictureFolder + "/" + form.Icon.picture)));
  binder_.SetPictureFolder(pictureFolder);
  popup_ = binder_.BuildMenu(this, form.Popup);
  popup_->setObjectName(QString::fromStdString(form.Popup.Name()));
  binder_.Bind(this, this, form.window);
  popupConnection_ = form.window.PopupRequested.Connect([this](controls::MenuItem* menu) {
    if (menu == &form_.Popup) popup_->popup(QCursor::pos());
  });
}

namespace {

const ViewOf<frmpopup, frmpopupView> registered;

}  // namespace
}  // namespace korvalin
