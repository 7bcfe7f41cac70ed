// The Disc Information window on screen: the candidates and their reasons on the left, the
// chosen one's fields and tracks on the right, the state line and the commands below.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "discinfo/frmDiscInfo.h"
#include "platform/qt/Binder.h"
#include "platform/qt/FormViews.h"

namespace korvalin {
namespace {

constexpr auto InLayout = Binder::Geometry::InLayout;

class frmDiscInfoView : public QWidget {
 public:
  explicit frmDiscInfoView(frmDiscInfo& form) {
    setObjectName("frmDiscInfo");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(binder_.Make<QLabel>(this, form.lblDisc, InLayout));

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(binder_.Make<QLabel>(this, form.lblCandidates, InLayout));
    left->addWidget(binder_.Make<QListWidget>(this, form.lstCandidates, InLayout), 3);
    left->addWidget(binder_.Make<QLabel>(this, form.lblReasons, InLayout));
    left->addWidget(binder_.Make<QListWidget>(this, form.lstReasons, InLayout), 2);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [label, box] : {std::pair{&form.lblAlbum, &form.txtAlbum}, std::pair{&form.lblArtist, &form.txtArtist},
                              std::pair{&form.lblYear, &form.txtYear}, std::pair{&form.lblGenre, &form.txtGenre}}) {
      fields->addWidget(binder_.Make<QLabel>(this, *label, InLayout), row, 0);
      fields->addWidget(binder_.Make<QLineEdit>(this, *box, InLayout), row, 1);
      ++row;
    }
    right->addLayout(fields);
    right->addWidget(binder_.Make<QLabel>(this, form.lblTracks, InLayout));
    right->addWidget(binder_.Make<QListWidget>(this, form.lstTracks, InLayout), 1);
    auto* track = new QGridLayout;
    track->addWidget(binder_.Make<QLabel>(this, form.lblTrackTitle, InLayout), 0, 0);
    track->addWidget(binder_.Make<QLineEdit>(this, form.txtTrackTitle, InLayout), 0, 1);
    track->addWidget(binder_.Make<QLabel>(this, form.lblTrackArtist, InLayout), 1, 0);
    track->addWidget(binder_.Make<QLineEdit>(this, form.txtTrackArtist, InLayout), 1, 1);
    right->addLayout(track);
    columns->addLayout(right, 1);
    layout->addLayout(columns, 1);
    layout->addWidget(binder_.Make<QLabel>(this, form.lblNamePreview, InLayout));
    auto* names = binder_.Make<QListWidget>(this, form.lstNamePreview, InLayout);
    names->setMaximumHeight(names->fontMetrics().height() * 6);
    layout->addWidget(names);

    auto* bottom = new QHBoxLayout;
    auto* state = binder_.Make<QLabel>(this, form.lblState, InLayout);
    state->setWordWrap(true);
    bottom->addWidget(state, 1);
    for (auto* button : {&form.cmdLookUp, &form.cmdUse, &form.cmdClose}) {
      bottom->addWidget(binder_.Make<QPushButton>(this, *button, InLayout));
    }
    layout->addLayout(bottom);
    binder_.Bind(this, this, form.window);
  }

 private:
  Binder binder_;
};

const ViewOf<frmDiscInfo, frmDiscInfoView> registered;

}  // namespace
}  // namespace korvalin
