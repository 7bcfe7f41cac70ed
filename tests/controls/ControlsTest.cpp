#include <gtest/gtest.h>

#include <vector>

#include "common/RaisedError.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/ListBox.h"
#include "controls/OptionButton.h"
#include "controls/ProgressBar.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"

namespace korvalin::controls {
namespace {

void Record(Control& c, std::vector<Property>& out, Connection& keep) {
  keep = c.Changed.Connect([&out](Change ch) { out.push_back(ch.what); });
}

TEST(ListBox, KeepsTheSelectionOnTheSameEntryAsItemsComeAndGo) {
  ListBox list("lstTracks");
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  for (const char* t : {"a", "b", "c"}) list.AddItem(t);
  list.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  list.AddItem("first", 0);  // inserted before the selection
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(list.List(2), "b");
  list.RemoveItem(0);
  EXPECT_EQ(list.ListIndex(), 1);
  list.RemoveItem(1);  // the selected entry goes: nothing is selected
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.List(5), "");  // past the end reads as empty
  EXPECT_EQ(clicks, 1);         // only choosing runs the click handler
}

TEST(ListBox, RefusesIndexesOutsideTheList) {
  ListBox list("List1");
  list.AddItem("x");
  EXPECT_THROW(list.AddItem("y", 3), RaisedError);
  EXPECT_THROW(list.RemoveItem(1), RaisedError);
  EXPECT_THROW(list.SetListIndex(1), RaisedError);
  EXPECT_EQ(list.ListCount(), 1);
  list.SetListIndex(0);
  list.Clear();
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.ListCount(), 0);
}

TEST(CheckBox, TakesOnlyItsThreeValuesAndRunsItsClickOnEveryChange) {
  CheckBox box("Check1", "CRC");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetValue(CheckBox::Checked);
  box.SetValue(CheckBox::Checked);  // no change, no click
  EXPECT_EQ(clicks, 1);
  EXPECT_THROW(box.SetValue(3), RaisedError);
  EXPECT_EQ(box.Value(), CheckBox::Checked);
  box.SetValue(CheckBox::Grayed);
  box.UserClick();  // a click on a greyed box ticks it
  EXPECT_EQ(box.Value(), CheckBox::Checked);
  box.UserClick();
  EXPECT_EQ(box.Value(), CheckBox::Unchecked);
  EXPECT_EQ(clicks, 4);
}

TEST(ComboBox, FixedListChoosesEntriesAndEditableBoxTakesAnyText) {
  ComboBox fixed("cmbBitrate", ComboBox::Style::List);
  for (const char* t : {"32", "128", "320"}) fixed.AddItem(t);
  int clicks = 0;
  fixed.OnClick = [&] { ++clicks; };
  fixed.SetText("128");
  EXPECT_EQ(fixed.ListIndex(), 1);
  EXPECT_EQ(fixed.Text(), "128");
  EXPECT_EQ(clicks, 1);
  EXPECT_THROW(fixed.SetText("999"), RaisedError);
  EXPECT_EQ(fixed.Text(), "128");

  ComboBox edit("cmbSearch", ComboBox::Style::Editable);
  edit.AddItem("google");
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  edit.SetText("goo");
  EXPECT_EQ(edit.ListIndex(), -1);
  edit.SetText("google");
  EXPECT_EQ(edit.ListIndex(), 0);
  EXPECT_EQ(changes, 2);
}

TEST(OptionButton, ChoosingOneClearsTheRestOfItsGroup) {
  OptionButton mp3("optMP3", "MP3"), wav("optWAV", "WAV");
  OptionGroup group;
  group.Add(mp3);
  group.Add(wav);
  int wavClicks = 0;
  wav.OnClick = [&] { ++wavClicks; };
  mp3.SetValue(true);
  wav.SetValue(true);
  EXPECT_FALSE(mp3.Value());
  EXPECT_TRUE(wav.Value());
  EXPECT_EQ(wavClicks, 1);
}

TEST(Controls, NotifyEachChangeOnceAndRefuseBadValues) {
  ProgressBar bar("ProgressBar1");
  std::vector<Property> seen;
  Connection c;
  Record(bar, seen, c);
  bar.SetValue(40);
  bar.SetValue(40);
  EXPECT_THROW(bar.SetValue(101), RaisedError);
  EXPECT_EQ(bar.Value(), 40);
  EXPECT_THROW(bar.Move(0, 0, -1, 10), RaisedError);
  bar.SetEnabled(false);
  EXPECT_EQ(seen, (std::vector<Property>{Property::Value, Property::Enabled}));

  TextBox text("Text1");
  int changes = 0;
  text.OnChange = [&] { ++changes; };
  text.SetText("a");
  text.SetText("a");
  EXPECT_EQ(changes, 1);

  Timer timer("Timer1", 1000);
  EXPECT_THROW(timer.SetInterval(70000), RaisedError);
  EXPECT_FALSE(timer.Running());
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Running());
}

TEST(Signal, ListenersMayDisconnectThemselvesAndOthersWhileNotified) {
  Signal<int> signal;
  std::vector<int> calls;
  Connection second;
  Connection first = signal.Connect([&](int v) {
    calls.push_back(v);
    second.Disconnect();  // the second listener must not run in this very emission
  });
  second = signal.Connect([&](int v) { calls.push_back(100 + v); });
  signal.Emit(1);
  EXPECT_EQ(calls, std::vector<int>{1});
  {
    Signal<int> shortLived;
    Connection outlives = shortLived.Connect([](int) {});
    first = std::move(outlives);  // the signal goes first; dropping the connection later is safe
  }
  first.Disconnect();
  EXPECT_EQ(signal.ListenerCount(), 0u);
}

}  // namespace
}  // namespace korvalin::controls
