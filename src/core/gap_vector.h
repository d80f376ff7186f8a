#pragma once
// A vector with a movable gap, for the grid's row tables. Rows are inserted and removed where the
// user works, often again and again at nearly the same place (removing a run of rows, inserting
// under a group row); a plain vector moves every following row each time, the gap moves only the
// rows between the last edit and this one. Appending, reading by index and iterating cost what they
// cost in a vector (an index past the gap is shifted by the gap's length).
//
// The gap holds default-constructed elements; T must be default-constructible and movable.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

namespace ferryl {

template <typename T>
class GapVector {
  public:
    using value_type = T;
    using size_type = std::size_t;

    template <typename Owner, typename Ref>
    class Iterator {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = Ref;
        using pointer = std::remove_reference_t<Ref>*;

        Iterator() = default;
        Iterator(Owner* owner, size_type index) : m_owner(owner), m_index(index) {}
        reference operator*() const { return (*m_owner)[m_index]; }
        pointer operator->() const { return &(*m_owner)[m_index]; }
        reference operator[](difference_type n) const { return (*m_owner)[m_index + n]; }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++m_index;
            return old;
        }
        Iterator& operator--() {
            --m_index;
            return *this;
        }
        Iterator operator--(int) {
            Iterator old = *this;
            --m_index;
            return old;
        }
        Iterator& operator+=(difference_type n) {
            m_index += n;
            return *this;
        }
        Iterator& operator-=(difference_type n) {
            m_index -= n;
            return *this;
        }
        friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
        friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
        friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) {
            return static_cast<difference_type>(a.m_index) - static_cast<difference_type>(b.m_index);
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_index == b.m_index; }
        friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.m_index <=> b.m_index; }
        size_type index() const { return m_index; }

      private:
        Owner* m_owner = nullptr;
        size_type m_index = 0;
    };
    using iterator = Iterator<GapVector, T&>;
    using const_iterator = Iterator<const GapVector, const T&>;

    GapVector() = default;
    explicit GapVector(size_type count) : m_items(count) {}
    GapVector(size_type count, const T& value) : m_items(count, value) {}
    GapVector(std::initializer_list<T> items) : m_items(items) {}

    size_type size() const noexcept { return m_items.size() - m_gapLength; }
    // Elements the storage holds room for, the gap included.
    size_type capacity() const noexcept { return m_items.capacity(); }
    bool empty() const noexcept { return size() == 0; }

    T& operator[](size_type index) noexcept { return m_items[Slot(index)]; }
    const T& operator[](size_type index) const noexcept { return m_items[Slot(index)]; }
    T& back() noexcept { return (*this)[size() - 1]; }
    const T& back() const noexcept { return (*this)[size() - 1]; }

    iterator begin() noexcept { return iterator(this, 0); }
    iterator end() noexcept { return iterator(this, size()); }
    const_iterator begin() const noexcept { return const_iterator(this, 0); }
    const_iterator end() const noexcept { return const_iterator(this, size()); }

    void reserve(size_type count) {
        CloseGap();
        m_items.reserve(count);
    }
    void resize(size_type count) {
        CloseGap();
        m_items.resize(count);
    }
    void clear() noexcept {
        m_items.clear();
        m_gapStart = m_gapLength = 0;
    }
    void push_back(T value) {
        CloseGap();
        m_items.push_back(std::move(value));
    }
    void swap(GapVector& other) noexcept {
        m_items.swap(other.m_items);
        std::swap(m_gapStart, other.m_gapStart);
        std::swap(m_gapLength, other.m_gapLength);
    }

    void insert(size_type index, T value) {
        if (index == size()) {
            push_back(std::move(value));
            return;
        }
        if (m_gapLength == 0)
            OpenGap(index);
        else
            MoveGapTo(index);
        m_items[m_gapStart] = std::move(value);
        ++m_gapStart;
        --m_gapLength;
    }

    void erase(size_type index) {
        MoveGapTo(index + 1);
        // The element just before the gap joins it, emptied so that it holds no memory.
        --m_gapStart;
        ++m_gapLength;
        m_items[m_gapStart] = T();
    }

  private:
    size_type Slot(size_type index) const noexcept { return index < m_gapStart ? index : index + m_gapLength; }

    // Moves the gap so that it starts at `index`, shifting only the elements in between.
    void MoveGapTo(size_type index) {
        if (m_gapLength == 0) {
            m_gapStart = index;
            return;
        }
        if (index < m_gapStart) {
            std::move_backward(m_items.begin() + static_cast<std::ptrdiff_t>(index),
                               m_items.begin() + static_cast<std::ptrdiff_t>(m_gapStart),
                               m_items.begin() + static_cast<std::ptrdiff_t>(m_gapStart + m_gapLength));
        } else if (index > m_gapStart) {
            std::move(m_items.begin() + static_cast<std::ptrdiff_t>(m_gapStart + m_gapLength),
                      m_items.begin() + static_cast<std::ptrdiff_t>(index + m_gapLength),
                      m_items.begin() + static_cast<std::ptrdiff_t>(m_gapStart));
        }
        m_gapStart = index;
    }

    // A new gap at `index`, an eighth of the size (at least 16), so the next inserts there are cheap.
    void OpenGap(size_type index) {
        size_type length = std::max<size_type>(16, size() / 8);
        m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), length, T());
        m_gapStart = index;
        m_gapLength = length;
    }

    // Moves the gap to the end and drops it, so the storage is a plain vector again.
    void CloseGap() {
        if (m_gapLength == 0)
            return;
        MoveGapTo(size());
        m_items.resize(size());
        m_gapLength = 0;
        m_gapStart = 0;
    }

    std::vector<T> m_items;
    size_type m_gapStart = 0;
    size_type m_gapLength = 0;
};

}  // namespace ferryl
