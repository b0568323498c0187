#pragma once
// Every control of the family carries a free integer, its tag: button panels
// use it to pick a button's picture, pages to number related boxes.

namespace stallmark {

class TagHolder {
public:
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

private:
    int tag_ = 0;
};

}  // namespace stallmark
