#pragma once

class QMainWindow;

// What screen readers hear of the windows' controls, and what the keyboard reaches.
namespace ui {

// Lets screen readers hear a drop-down list by what it chooses ("Rank"), its accessible name,
// with its entry ("Commander") as its value. Qt on Linux gives a list's entry as its name and
// leaves the purpose to a label beside it, which the windows' lists do not have. A list
// without an accessible name keeps its entry as name. Call it once the application exists.
void nameListsByPurpose();

// F10 opens the first menu of the window's menu bar, as on most desktops; from there the
// arrow keys go through the menus. (Alt alone selects the menu bar without opening a menu.)
void openMenuBarWithF10(QMainWindow& window);

}  // namespace ui
