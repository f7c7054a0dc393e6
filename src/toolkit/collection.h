// Collections: an owned, ordered row of items of one class, with a collection-wide update
// bracket. Platform-neutral (header only), so that it is tested natively as well.
#pragma once

#include "graphics/graphic.h" // EConvertError

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class TCollection;

class TCollectionItem {
  public:
    explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}
    virtual ~TCollectionItem() = default;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    virtual const char* ClassName() const { return "TCollectionItem"; }
    TCollection& Collection() const { return *collection_; }
    inline int Index() const;
    // Moves the item to `index` (clamped to the collection) and reports the change.
    inline void SetIndex(int index);
    // What design tools show; the default is the class name.
    virtual std::string DisplayName() const { return ClassName(); }
    // Copies another item; the default raises EConvertError "Cannot assign a X to a Y".
    virtual void Assign(const TCollectionItem& source) {
        throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " +
                            ClassName());
    }

  protected:
    // Reports that this item (or, with allItems, the whole collection) changed.
    inline void Changed(bool allItems);

  private:
    TCollection* collection_;
};

class TCollection {
  public:
    TCollection() = default;
    virtual ~TCollection() = default;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // The item at index; nullptr outside 0 ... Count() - 1.
    TCollectionItem* Items(int index) const {
        return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].get()
                                             : nullptr;
    }
    int IndexOf(const TCollectionItem& item) const {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].get() == &item) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // A new item of the collection's class at the end.
    TCollectionItem& Add() { return Insert(CreateItem()); }
    void Delete(int index) {
        if (index < 0 || index >= Count()) {
            return;
        }
        items_.erase(items_.begin() + index);
        Changed();
    }
    void Clear() {
        if (items_.empty()) {
            return;
        }
        BeginUpdate();
        items_.clear();
        EndUpdate();
    }
    // Moves the item at `from` to `to` (clamped) and reports the change.
    void Move(int from, int to) {
        if (from < 0 || from >= Count()) {
            return;
        }
        to = std::clamp(to, 0, Count() - 1);
        if (from == to) {
            return;
        }
        std::unique_ptr<TCollectionItem> item = std::move(items_[static_cast<std::size_t>(from)]);
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, std::move(item));
        Changed();
    }

    // Inside a bracket no Update runs; the outermost EndUpdate runs it once for everything.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() {
        if (updateCount_ > 0 && --updateCount_ == 0) {
            Changed();
        }
    }
    int UpdateCount() const { return updateCount_; }

    // Clears, then adds one item per source item assigned from it, under one bracket.
    virtual void Assign(const TCollection& source) {
        if (&source == this) {
            return;
        }
        BeginUpdate();
        try {
            items_.clear();
            for (const auto& item : source.items_) {
                Add().Assign(*item);
            }
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }

  protected:
    virtual std::unique_ptr<TCollectionItem> CreateItem() = 0;
    // Runs once per change outside a bracket (item: the one changed, or nullptr for all) and
    // once at the end of a bracket.
    virtual void Update(TCollectionItem* /*item*/) {}
    // Takes a new item into the collection at the end and reports it.
    TCollectionItem& Insert(std::unique_ptr<TCollectionItem> item) {
        items_.push_back(std::move(item));
        Changed();
        return *items_.back();
    }
    void Changed(TCollectionItem* item = nullptr) {
        if (updateCount_ == 0) {
            Update(item);
        }
    }

  private:
    friend class TCollectionItem;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};

inline int TCollectionItem::Index() const {
    return collection_->IndexOf(*this);
}

inline void TCollectionItem::SetIndex(int index) {
    collection_->Move(Index(), index);
}

inline void TCollectionItem::Changed(bool allItems) {
    collection_->Changed(allItems ? nullptr : this);
}

} // namespace tk
