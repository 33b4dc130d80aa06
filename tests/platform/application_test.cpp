#include "platform/application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/menu.h"
#include "support/scripted_desktop.h"

TEST(ExceptionMessageText, AddsAFullStopAfterCharactersAboveIt) {
  struct Case {
    const char* message;
    const char* shown;
  };
  for (const Case& c : {Case{"Range check error", "Range check error."}, Case{"Done.", "Done."},
                        Case{"Really?", "Really?."}, Case{"(3)", "(3)"}, Case{"a-", "a-"},
                        Case{"", ""}, Case{"size 5", "size 5."}}) {
    EXPECT_EQ(ExceptionMessageText(c.message), c.shown) << c.message;
  }
}

TEST(Application, DispatchShowsWhatAHandlerThrowsAndGoesOn) {
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  application.Dispatch([] { throw Exception("List index out of bounds (3)"); });
  application.Dispatch([] { throw std::runtime_error("disk"); });
  application.Dispatch([] { throw 42; });
  bool ran = false;
  application.Dispatch([&] { ran = true; });

  ASSERT_EQ(desktop.Messages.size(), 3u);
  EXPECT_EQ(desktop.Messages[0].Text, "List index out of bounds (3)");
  EXPECT_EQ(desktop.Messages[0].Caption, "tavro-x");
  EXPECT_TRUE(desktop.Messages[0].IsError);
  EXPECT_EQ(desktop.Messages[1].Text, "disk.");
  EXPECT_EQ(desktop.Messages[2].Text, "");
  EXPECT_TRUE(ran);
}

// The desktop is busy from the start of a person's action to the end of its last message.
TEST(Application, DispatchKeepsTheDesktopBusyUntilTheActionIsHandled) {
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  bool busyInside = false;
  application.Dispatch([&] {
    busyInside = desktop.Busy();
    throw Exception("failed");
  });
  EXPECT_TRUE(busyInside);
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_TRUE(desktop.Messages[0].WhileBusy);
  EXPECT_FALSE(desktop.Busy());
}

// While an action runs, the loop turns and a menu item or a box can be worked by a global
// menu bar or a screen reader without any input event: each such action is dropped, now and
// later, and leaves the model as it was. What the action raises from code still runs.
TEST(Application, AUserActionArrivingWhileAnotherRunsIsDropped) {
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  std::vector<std::string> handled;
  const auto record = [&handled](Component* sender) { handled.push_back(sender->Name()); };
  MenuItem open("Open1");
  CheckBox box("CBHullX");
  CheckBox invert("CheckBox1");
  Button clear("Button1");
  RadioGroup filter("RadioGroup1");
  filter.Items = {"50 Hz", "100 Hz"};
  PageControl pages("PageControl1");
  TabSheet graph("TabSheet1"), ici("TabSheet2");
  pages.Pages = {&graph, &ici};
  graph.SetParent(&pages);
  ici.SetParent(&pages);
  pages.SetActivePage(&graph);
  open.OnClick = box.OnClick = invert.OnClick = clear.OnClick = filter.OnClick = pages.OnChange =
      record;

  application.Dispatch([&] {
    open.UserClick();
    box.UserClick();
    clear.UserClick();
    filter.UserChoose(1);
    pages.UserSelect(&ici);
    EXPECT_TRUE(handled.empty());
    invert.SetChecked(true);
  });
  EXPECT_EQ(handled, std::vector<std::string>{"CheckBox1"});
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(filter.ItemIndex(), -1);
  EXPECT_EQ(pages.ActivePage(), &graph);
  EXPECT_FALSE(desktop.Busy());

  box.UserClick();
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(handled, (std::vector<std::string>{"CheckBox1", "CBHullX"}));
}

namespace {

struct ProbeForm : Form {
  static ProbeForm** variable;
  static bool sawItselfDuringConstruction;
  static bool failConstruction;
  ProbeForm() : Form("ProbeForm") {
    sawItselfDuringConstruction = (*variable == this);
    if (failConstruction) throw Exception("cannot build the form");
    OnCreate = [](Component*) { throw Exception("create failed"); };
  }
};
ProbeForm** ProbeForm::variable = nullptr;
bool ProbeForm::sawItselfDuringConstruction = false;
bool ProbeForm::failConstruction = false;

}  // namespace

TEST(Application, CreateFormStoresTheInstanceBeforeItsConstructorRuns) {
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  ProbeForm* form = nullptr;
  ProbeForm::variable = &form;
  ProbeForm::failConstruction = false;
  application.CreateForm(form);
  EXPECT_TRUE(ProbeForm::sawItselfDuringConstruction);
  EXPECT_EQ(application.MainForm(), form);
  // OnCreate's exception is shown and construction completes.
  ASSERT_EQ(desktop.Messages.size(), 1u);
  EXPECT_EQ(desktop.Messages[0].Text, "create failed.");
}

TEST(Application, CreateFormResetsTheVariableWhenTheConstructorThrows) {
  ScriptedDesktop desktop;
  Application application(desktop, "tavro-x");
  ProbeForm* form = nullptr;
  ProbeForm::variable = &form;
  ProbeForm::failConstruction = true;
  EXPECT_THROW(application.CreateForm(form), Exception);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(application.MainForm(), nullptr);
  ProbeForm::failConstruction = false;
}
