#include "finder/frmsearch.h"

#include <filesystem>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "finder/LocalSearch.h"

namespace korvalin {
namespace {

constexpr int32_t kDesignWidth = 7680;   // twips
constexpr int32_t kDesignHeight = 6840;
constexpr std::size_t kTimeLabelLimit = 200;

std::string CurrentFolder() {
  std::error_code ec;
  const auto here = std::filesystem::current_path(ec);
  return ec ? std::string("/") : here.string();
}

std::string TimeTaken(double seconds) { return "Time taken: " + FormatGeneral(seconds) + " second(s)"; }

}  // namespace

frmsearch::frmsearch(Services& services) : loop_(services.loop), dialogs_(services.dialogs), screen_(services.screen) {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  zFileExt.SetMaxLength(4);
  zFileExt.SetBold(true);
  Text1.SetMaxLength(100);

  Command1.OnClick = [this] { Command1_Click(); };
  cmdBrowse.OnClick = [this] { cmdBrowse_Click(); };
  cmdend.OnClick = [this] { cmdend_Click(); };
  zFileExt.OnChange = [this] { zFileExt_Change(); };
  window.OnUnload = [this] { Form_Unload(); };
  ConnectResultCommands();
  ConnectInternetSearch();
  timeLabelGuard_ = lbltime.Changed.Connect([this](controls::Change c) {
    if (c.what == controls::Property::Caption) GuardTimeLabel();
  });
}

frmsearch::frmsearch(Services& services, JobEvents& jobs) : frmsearch(services) {
  jobConnections_ = CloseOnJobs(jobs, [this] {
    if (window.Loaded()) IgnoreErrors([&] { Form_Unload(); });
  });
}

void frmsearch::Form_Load() {
  if (window.Loaded()) return;
  IgnoreErrors(
      [&] {
        window.Move((screen_.Width() - window.Width()) / 2, (screen_.Height() - window.Height()) / 2, window.Width(),
                    window.Height());
      },
      [&] {
        if (Dir1.Text().empty()) Dir1.SetText(CurrentFolder());
      },
      [&] { FillEngineBox(); });
  window.SetLoaded(true);
}

void frmsearch::Show() {
  Form_Load();
  window.SetVisible(true);
}

void frmsearch::Form_Unload() {
  if (running_) {
    restartPending_ = false;
    if (Command1.Caption() == kStopCaption) StopSearch();
  }
  window.SetVisible(false);
  window.SetLoaded(false);
}

void frmsearch::zFileExt_Change() { zFileExt.SetText(LCase(zFileExt.Text())); }

void frmsearch::cmdBrowse_Click() {
  IgnoreErrors([&] {
    if (auto folder = dialogs_.PickFolder("Choose the folder to search", Dir1.Text())) {
      Dir1.SetText(*folder);
    }
  });
}

void frmsearch::Command1_Click() {
  if (Command1.Caption() == kStopCaption) {
    StopSearch();
    return;
  }
  if (running_) {
    // A stopped search still reads its last folder: the new one starts once it has returned,
    // never inside it.
    restartPending_ = true;
    return;
  }
  running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{running_};
  do {
    restartPending_ = false;
    // An empty "Look in" would otherwise read as the root of the file system.
    if (Dir1.Text().empty()) {
      IgnoreErrors([&] { lbltime.SetCaption(kChooseFolderText); });
      return;
    }
    StartSearch();
  } while (restartPending_);
}

void frmsearch::StartSearch() {
  IgnoreErrors([&] { chkhidelist.SetEnabled(false); }, [&] { lstfiles.Clear(); }, [&] { lstdirs.Clear(); },
               [&] { List1.Clear(); }, [&] { Command1.SetEnabled(false); },
               [&] { Command1.SetCaption(kStopCaption); },
               [&] {
                 const bool hide = chkhidelist.Value() == controls::CheckBox::Checked;
                 List1.SetVisible(!hide);
                 lstfiles.SetVisible(!hide);
               });
  SearchDriver();
}

void frmsearch::SearchDriver() {
  stopRequested_ = false;
  DirectoryCount = 0;
  IgnoreErrors([&] { Label1.SetCaption(""); }, [&] { Command1.SetEnabled(true); },
               [&] { EnableFilters(false); }, [&] { lstfiles.Clear(); });
  const double startTime = loop_.Clock();
  IgnoreErrors([&] {
    const std::string& type = zFileExt.Text();
    if (type != "*.*" && (type.empty() || type[0] != '.')) zFileExt.SetText("." + type);
  });

  LocalSearch search(Dir1.Text(), zFileExt.Text(), Text1.Text());
  search.yield = [this] { loop_.Yield(); };
  search.stopRequested = [this] { return stopRequested_; };
  search.events.seeded = [this, &search](const std::string& folder) {
    IgnoreErrors([&] { lstdirs.AddItem(folder); }, [&] { List1.AddItem(folder); });
    DirectoryCount = search.Directories();
  };
  search.events.reading = [this](const std::string& folder) {
    IgnoreErrors([&] { lbltime.SetCaption("Searching . . . " + folder); });
  };
  search.events.subfolder = [this, &search](const std::string& folder, bool queued) {
    IgnoreErrors(
        [&] {
          if (queued) lstdirs.AddItem(folder, 1);
        },
        [&] { List1.AddItem(folder, List1.ListCount() > 0 ? 1 : -1); });
    DirectoryCount = search.Directories();
  };
  search.events.found = [this](const std::string& path) { IgnoreErrors([&] { lstfiles.AddItem(path); }); };
  search.events.folderRead = [this] {
    IgnoreErrors([&] {
      if (lstdirs.ListCount() > 0) lstdirs.RemoveItem(0);
    });
  };
  IgnoreErrors([&] { search.Run(); });
  EndOfSearch(startTime);
}

void frmsearch::StopSearch() {
  stopRequested_ = true;
  // The counters are kept: the search's own end, which follows once the folder being read is
  // finished, shows the summary of the whole search.
  IgnoreErrors([&] { lstdirs.SetVisible(true); }, [&] { lstfiles.SetVisible(true); },
               [&] { FileCount = lstfiles.ListCount(); }, [&] { lbltime.SetCaption(TimeTaken(0)); },
               [&] { Command1.SetCaption(kSearchCaption); }, [&] { ShowSummary(); }, [&] { EnableFilters(true); },
               [&] { lstdirs.Clear(); }, [&] { List1.SetVisible(true); });
}

void frmsearch::EndOfSearch(double startTime) {
  IgnoreErrors([&] { List1.SetVisible(true); }, [&] { lstdirs.SetVisible(true); },
               [&] { lstfiles.SetVisible(true); }, [&] { FileCount = lstfiles.ListCount(); },
               [&] { lbltime.SetCaption(TimeTaken(SecondsBetween(startTime, loop_.Clock()))); },
               [&] { Command1.SetCaption(kSearchCaption); }, [&] { ShowSummary(); },
               [&] {
                 DirectoryCount = 0;
                 FileCount = 0;
               },
               [&] { EnableFilters(true); });
}

void frmsearch::ShowSummary() { Label1.SetCaption(SearchSummary(DirectoryCount, FileCount)); }

void frmsearch::EnableFilters(bool on) {
  Text1.SetEnabled(on);
  zFileExt.SetEnabled(on);
  if (on) chkhidelist.SetEnabled(true);
}

void frmsearch::GuardTimeLabel() {
  if (Len(lbltime.Caption()) > kTimeLabelLimit) lbltime.SetCaption(lstdirs.List(0) + "...");
}

}  // namespace korvalin
