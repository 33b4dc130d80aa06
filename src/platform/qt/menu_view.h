#pragma once

#include <QMenuBar>

#include "platform/menu.h"
#include "platform/qt/subscriptions.h"

// Fills the menu bar with the main menu's items: captions with their "&" mnemonics, "-" as a
// separator, enabled state from the model; choosing an item goes to its UserClick.
void BuildMenuBar(MainMenu& menu, QMenuBar& bar, Subscriptions& subscriptions);
