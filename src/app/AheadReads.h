#pragma once
// The lists' files read ahead, on threads of their own, while the main window is still
// being built: each page's first load takes what was read for it (when the file has not
// changed since), instead of reading the file itself.

#include <memory>

#include "lists/Preload.h"
#include "lists/magic/MagicPage.h"
#include "lists/trade/GeneralPage.h"

namespace stallmark {

struct AheadReads {
    std::unique_ptr<Preload<TMagicPage::FileAhead>> weapons, armour;  // the stock files
    std::unique_ptr<Preload<TGeneralPage::FileLoad>> general;
};

}  // namespace stallmark
