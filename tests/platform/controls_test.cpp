#include "platform/controls.h"

#include <gtest/gtest.h>

#include "platform/menu.h"

namespace {

struct Clicks {
  int count = 0;
  NotifyEvent Handler() {
    return [this](Component*) { ++count; };
  }
};

}  // namespace

TEST(CheckBox, CodeRaisesOnClickOnEveryChangeWhateverItsState) {
  for (bool enabled : {true, false}) {
    for (bool visible : {true, false}) {
      CheckBox box("box");
      Clicks clicks;
      box.OnClick = clicks.Handler();
      box.SetEnabled(enabled);
      box.SetVisible(visible);
      box.SetChecked(true);
      box.SetChecked(true);
      box.SetChecked(false);
      EXPECT_EQ(clicks.count, 2) << enabled << visible;
    }
  }
}

TEST(CheckBox, PersonCannotClickWhereTheBoxOrAParentIsDisabledOrHidden) {
  Panel panel("panel");
  CheckBox box("box");
  box.SetParent(&panel);
  Clicks clicks;
  box.OnClick = clicks.Handler();

  box.UserClick();
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks.count, 1);

  panel.SetEnabled(false);
  box.UserClick();
  panel.SetEnabled(true);
  panel.SetVisible(false);
  box.UserClick();
  panel.SetVisible(true);
  box.SetEnabled(false);
  box.UserClick();
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks.count, 1);
}

TEST(RadioGroup, RaisesOnlyWhenAnItemBecomesSelectedAndTellsThePreviousItem) {
  RadioGroup group("group");
  group.Items = {"a", "b"};
  int seenIndex = -2;
  int seenPrevious = -2;
  int clicks = 0;
  group.OnClick = [&](Component*) {
    ++clicks;
    seenIndex = group.ItemIndex();
    seenPrevious = group.PreviousItemIndex();
  };
  group.UserChoose(1);
  EXPECT_EQ(seenIndex, 1);
  EXPECT_EQ(seenPrevious, -1);
  group.UserChoose(0);
  EXPECT_EQ(seenPrevious, 1);
  group.UserChoose(0);
  group.UserChoose(5);
  group.SetItemIndex(-1);
  EXPECT_EQ(clicks, 2);
  group.UserChoose(1);
  EXPECT_EQ(seenPrevious, -1);
  group.SetEnabled(false);
  group.UserChoose(0);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(group.ItemIndex(), 1);
}

TEST(PageControl, OnlyAPersonsChoiceRaisesOnChange) {
  PageControl pages("pages");
  TabSheet first("first"), second("second");
  first.SetParent(&pages);
  second.SetParent(&pages);
  pages.Pages = {&first, &second};
  pages.SetActivePage(&first);
  Clicks changes;
  pages.OnChange = changes.Handler();

  pages.SetActivePage(&second);
  EXPECT_EQ(changes.count, 0);
  pages.UserSelect(&first);
  pages.UserSelect(&first);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(pages.ActivePage(), &first);

  // A control on the page that is not shown cannot be reached.
  Button button("button");
  button.SetParent(&second);
  Clicks presses;
  button.OnClick = presses.Handler();
  button.UserClick();
  EXPECT_EQ(presses.count, 0);
  pages.UserSelect(&second);
  button.UserClick();
  EXPECT_EQ(presses.count, 1);
}

TEST(MenuItem, DisabledParentMakesItsItemsUnusable) {
  MenuItem file("File"), open("Open");
  file.Add(&open);
  Clicks clicks;
  open.OnClick = clicks.Handler();
  open.UserClick();
  file.SetEnabled(false);
  open.UserClick();
  EXPECT_EQ(clicks.count, 1);
}

TEST(ChangeNotification, TellsObserversOfRealChangesOnly) {
  CheckBox box("box");
  int notes = 0;
  box.Subscribe([&] { ++notes; });
  box.SetCaption("Hull X");
  box.SetCaption("Hull X");
  box.SetEnabled(false);
  box.SetChecked(true);
  EXPECT_EQ(notes, 3);
}
