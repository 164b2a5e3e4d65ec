// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace trx {

// An ordered list of owned elements. Elements may remove themselves from the list in their destructor (a
// source leaves its destination's list), so destruction never relies on indexes staying put: the last
// element is taken off the list first and destroyed afterwards.
template <class T>
class cAutoList {
public:
    using const_iterator = typename std::vector<T*>::const_iterator;

    cAutoList() = default;
    cAutoList(const cAutoList&) = delete;
    cAutoList& operator=(const cAutoList&) = delete;
    ~cAutoList() { DeleteAll(); }

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    T* Get(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    T* operator[](int index) const { return Get(index); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

    // Takes ownership of `item` and appends it.
    void Add(T* item) {
        items_.push_back(item);
        ++version_;
    }

    // Takes `item` off the list without destroying it; nothing happens when it is not in the list.
    void Remove(const T* item) {
        const auto it = std::find(items_.begin(), items_.end(), item);
        if (it != items_.end()) {
            items_.erase(it);
            ++version_;
        }
    }

    int IndexOf(const T* item) const {
        const auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }

    // Destroys every element and leaves the list empty.
    void DeleteAll() {
        while (!items_.empty()) {
            T* last = items_.back();
            items_.pop_back();
            ++version_;
            delete last;
        }
    }

    // Changes with every addition and removal; lets an index kept beside the list notice that it is stale.
    std::uint64_t Version() const { return version_; }

private:
    std::vector<T*> items_;
    std::uint64_t version_ = 0;
};

}  // namespace trx
