// An ordered list of strings with a selection: what a list or combo box holds.
#pragma once

#include <string>
#include <vector>

namespace varigap {

class ItemList {
public:
    virtual ~ItemList() = default;

    virtual void Clear() {
        items_.clear();
        SetListIndex(-1);
    }
    virtual void AddItem(const std::string& item) { items_.push_back(item); }
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int i) const { return items_.at(static_cast<size_t>(i)); }
    const std::vector<std::string>& Items() const { return items_; }
    // -1 for no selection.
    int ListIndex() const { return listIndex_; }
    // Selecting an item also sets Text; a combo box raises its Click here.
    virtual void SetListIndex(int i) {
        listIndex_ = (i >= 0 && i < ListCount()) ? i : -1;
        if (listIndex_ >= 0) text_ = items_[static_cast<size_t>(listIndex_)];
    }
    // The text shown: the selected item, or what was typed into a combo box.
    const std::string& Text() const { return text_; }
    virtual void SetText(const std::string& t) { text_ = t; }

protected:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

}  // namespace varigap
