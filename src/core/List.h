// Doubly linked list of pointers. The list owns its nodes; the owner of the list decides
// whether the elements die with it: RemoveAll frees only the nodes, DeleteAll also deletes
// the elements. The destructor frees only the nodes.
#pragma once

#include <cstdint>

template <class T>
class ListIterator;

template <class T>
class List {
public:
    List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() { RemoveAll(); }

    void Append(T* value)
    {
        Node* node = new Node{last, nullptr, value};
        if (last != nullptr)
            last->next = node;
        else
            first = node;
        last = node;
        ++count;
    }

    // Unlinks the first node holding value; the element itself is untouched.
    void Remove(T* value)
    {
        for (Node* node = first; node != nullptr; node = node->next) {
            if (node->value == value) {
                (node->prev != nullptr ? node->prev->next : first) = node->next;
                (node->next != nullptr ? node->next->prev : last) = node->prev;
                delete node;
                --count;
                return;
            }
        }
    }

    void RemoveAll()
    {
        while (first != nullptr) {
            Node* next = first->next;
            delete first;
            first = next;
        }
        last = nullptr;
        count = 0;
    }

    void DeleteAll()
    {
        while (first != nullptr) {
            Node* next = first->next;
            delete first->value;
            delete first;
            first = next;
        }
        last = nullptr;
        count = 0;
    }

    uint32_t Count() const { return count; }

    // Whether a node holds value (pointers compared).
    bool Contains(const T* value) const
    {
        for (Node* node = first; node != nullptr; node = node->next) {
            if (node->value == value)
                return true;
        }
        return false;
    }

    // Element at 0-based index i; null for an empty list, the first element for i >= Count().
    T* Get(uint32_t i) const
    {
        if (first == nullptr)
            return nullptr;
        if (i >= count)
            return first->value;
        Node* node = first;
        while (i-- > 0)
            node = node->next;
        return node->value;
    }

    // Replaces the nodes with those of other, in order; the elements are shared, not copied.
    void CopyFrom(const List& other)
    {
        if (&other == this)
            return;
        RemoveAll();
        for (Node* node = other.first; node != nullptr; node = node->next)
            Append(node->value);
    }

private:
    friend class ListIterator<T>;

    struct Node {
        Node* prev;
        Node* next;
        T* value;
    };

    Node* first = nullptr;
    Node* last = nullptr;
    uint32_t count = 0;
};

template <class T>
class Iterator {
public:
    virtual ~Iterator() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prev() = 0;
    virtual bool IsDone() const = 0;
    virtual T* CurrentItem() const = 0;
};

// Walks a list: First, then while !IsDone(): CurrentItem(), Next(). The list must outlive the
// walk, and removing the node the iterator stands on leaves the iterator unusable.
template <class T>
class ListIterator : public Iterator<T> {
public:
    explicit ListIterator(const List<T>& list) : list(list) { First(); }

    void First() override
    {
        current = list.first;
        position = 1;
    }
    // No effect once past the end.
    void Next() override
    {
        if (current != nullptr) {
            current = current->next;
            ++position;
        }
    }
    // Steps back (before the first node the walk is done); the position stays at least 1.
    // No effect once past the end.
    void Prev() override
    {
        if (current != nullptr) {
            current = current->prev;
            if (position > 1)
                --position;
        }
    }
    bool IsDone() const override { return current == nullptr; }
    T* CurrentItem() const override { return current != nullptr ? current->value : nullptr; }
    uint32_t Position() const { return position; }  // 1-based index of the current node

private:
    using Node = typename List<T>::Node;
    const List<T>& list;
    Node* current = nullptr;
    uint32_t position = 1;
};
