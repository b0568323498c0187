// The memo file: any bytes load without harm; every memo the list names is found and
// read; a memo saved unchanged reads back with the same lines, and the rest of the file
// keeps its bytes; the index followed through a change is the index of the new content;
// a memo's playback items are texts and pauses within their limits.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/memos/MemoFile.h"

using namespace stallmark;
using fuzz::Check;

namespace {

bool SameSections(const memos::MemoIndex& a, const memos::MemoIndex& b) {
    if (a.Sections().size() != b.Sections().size() || a.ContentSize() != b.ContentSize()) return false;
    for (std::size_t i = 0; i < a.Sections().size(); ++i)
        if (a.Sections()[i].name != b.Sections()[i].name || a.Sections()[i].begin != b.Sections()[i].begin)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(fuzz::AsText(data, size));
    const memos::MemoIndex index = memos::MemoIndex::Of(content);
    const std::vector<std::string> names = index.Names();
    std::size_t checked = 0;
    for (const std::string& name : names) {
        const memos::MemoIndex::Section* section = index.Find(name);
        Check(section != nullptr, "a listed memo is not found");
        Check(section->begin < content.size() && index.End(*section) <= content.size(), "a memo lies outside the file");
        bool found = false;
        const std::vector<std::string> lines = memos::MemoLines(content, name, &found);
        Check(found, "a listed memo cannot be read");
        // Read from its own section, as the page reads it, the memo is the same.
        const std::string_view part =
            std::string_view(content).substr(section->begin, index.End(*section) - section->begin);
        Check(memos::MemoLines(part, name) == lines, "a memo reads otherwise from its section");

        for (const std::string& item : memos::BuildPlayList(lines))
            if (memos::IsPauseItem(item)) {
                const int seconds = memos::PauseSeconds(item);
                Check(seconds >= 0 && seconds <= memos::kMaxPauseSeconds, "a pause out of range");
            }
        memos::MemoLength(lines);

        if (++checked > 4) continue;  // the saves of a few memos are enough for one input
        // Saved unchanged: the memo reads back the same, the bytes before it stay.
        memos::MemoIndex edited = index;
        const memos::MemoEdit edit = memos::EditMemo(content, edited, name, &lines);
        Check(edit.changed, "a save of a memo changes nothing");
        Check(edit.content.compare(0, section->begin, content, 0, section->begin) == 0,
              "a save changes the bytes before the memo");
        Check(memos::MemoLines(edit.content, name) == lines, "a saved memo reads back otherwise");
        Check(SameSections(edited, memos::MemoIndex::Of(edit.content)), "the index does not follow a save");
        Check(memos::WithMemo(content, name, lines) == edit.content, "the two ways of saving differ");
        // Deleted: the memo is gone or the next one of its name shows.
        memos::MemoIndex removed = index;
        const memos::MemoEdit del = memos::EditMemo(content, removed, name, nullptr);
        Check(del.changed, "a delete of a memo changes nothing");
        Check(del.content.size() < content.size(), "a delete leaves the file as long");
        Check(SameSections(removed, memos::MemoIndex::Of(del.content)), "the index does not follow a delete");
        Check(memos::WithoutMemo(content, name) == del.content, "the two ways of deleting differ");
    }
    // A new memo is added at the end.
    const std::vector<std::string> added = {"one", "",
                                            "\xAB"
                                            "5\xBB"};
    const std::string name = "Fuzz Added Memo";
    if (index.Find(name) == nullptr) {
        const std::string with = memos::WithMemo(content, name, added);
        Check(with.compare(0, content.size(), content) == 0, "adding a memo changes the file before it");
        Check(memos::MemoLines(with, name) == added, "an added memo reads back otherwise");
    }
    return 0;
}
