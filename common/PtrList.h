// Singly linked pointer list with a built-in cursor, and a tree whose node is
// a list of its children. These are the only containers of the suite.
//
// Walks go through the list's own cursor:
//     list.ResetCur();
//     for (T* p = list.GetCur(); p; p = list.GetNext()) ...
// Callers rely on where an operation leaves the cursor (a search tells its
// caller the position of a hit through GetCurIndex), so every operation below
// says what it does to it. Structural edits never repair the cursor index;
// the only thing they guarantee is that the cursor never points at a freed
// node. Start a new walk after Delete, Insert at 0 or SwapWithNext.
#pragma once

#include <assert.h>
#include <stddef.h>
#include <stdint.h>

template <class T> class CPtrListNode
{
  public:
    CPtrListNode(T* data, bool deleteData) : m_next(NULL), m_data(data), m_deleteData(deleteData)
    {
    }
    ~CPtrListNode()
    {
        if (m_deleteData)
            delete m_data;
        m_data = NULL;
    }
    CPtrListNode(const CPtrListNode&) = delete;
    CPtrListNode& operator=(const CPtrListNode&) = delete;

    T* GetData() const
    {
        return m_data;
    }
    CPtrListNode* GetNext() const
    {
        return m_next;
    }
    void SetNext(CPtrListNode* next)
    {
        m_next = next;
    }

  private:
    CPtrListNode* m_next;
    T* m_data;
    bool m_deleteData;
};

template <class T> class CPtrList
{
  public:
    CPtrList() : m_head(NULL), m_cur(NULL), m_tail(NULL), m_size(0), m_curIndex(0)
    {
    }
    // Virtual because several models derive from the list and may be
    // destroyed through it.
    virtual ~CPtrList()
    {
        Clear();
    }
    // A copied list would free its payloads twice.
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;

    unsigned GetSize() const
    {
        return m_size;
    }
    // Position of the cursor, 0 for the head. When the cursor has run off
    // the end it still names the last element visited.
    int GetCurIndex() const
    {
        return m_curIndex;
    }

    void ResetCur()
    {
        m_cur = m_head;
        m_curIndex = 0;
    }

    T* GetCur() const
    {
        return m_cur ? m_cur->GetData() : NULL;
    }

    // Past the end the cursor becomes null but the index stays on the last
    // element, so a caller can still tell where the walk ended.
    T* GetNext()
    {
        if (!m_cur)
            return NULL;
        m_cur = m_cur->GetNext();
        if (!m_cur)
            return NULL;
        m_curIndex++;
        return m_cur->GetData();
    }

    // Leaves the cursor on element n; out of range leaves it alone.
    T* GetAt(unsigned n)
    {
        if (n >= m_size)
            return NULL;
        ResetCur();
        for (unsigned i = 0; i < n; i++)
            GetNext();
        return GetCur();
    }

    bool Delete(unsigned n)
    {
        if (n >= m_size)
            return false;
        if (m_size == 1)
            return Clear();

        Node* node;
        if (n == 0)
        {
            node = m_head;
            m_head = node->GetNext();
        }
        else
        {
            Node* prev = NodeAt(n - 1);
            node = prev->GetNext();
            prev->SetNext(node->GetNext());
            if (node == m_tail)
                m_tail = prev;
        }
        m_size--;
        // The cursor is not moved to a neighbour, only kept from dangling.
        if (node == m_cur)
            m_cur = NULL;
        delete node;
        return true;
    }

    // Always true, so Delete can return it for the last element.
    bool Clear()
    {
        if (m_size == 0)
            return true;
        // Unlink first: a payload destructor then sees an empty list.
        Node* node = m_head;
        m_head = m_cur = m_tail = NULL;
        m_size = 0;
        m_curIndex = 0;
        while (node)
        {
            Node* next = node->GetNext();
            delete node;
            node = next;
        }
        return true;
    }

    // With deleteData set the list owns data from now on. The cursor stays
    // where it is, except that the first node of an empty list takes it.
    void Add(T* data, bool deleteData)
    {
        assert(data);
        Node* node = new Node(data, deleteData);
        m_size++;
        if (!m_head && !m_tail)
        {
            m_head = m_tail = m_cur = node;
            m_curIndex = 0;
            return;
        }
        m_tail->SetNext(node);
        m_tail = node;
    }

    // data becomes element n; n at or past the end appends. For n > 0 the
    // cursor is left on element n - 1.
    void Insert(T* data, unsigned n, bool deleteData)
    {
        if (n >= m_size)
        {
            Add(data, deleteData);
            return;
        }
        assert(data);
        Node* node = new Node(data, deleteData);
        m_size++;
        if (n == 0)
        {
            node->SetNext(m_head);
            m_head = node;
            return;
        }
        GetAt(n - 1);
        node->SetNext(m_cur->GetNext());
        m_cur->SetNext(node);
    }

    // Exchanges elements n and n + 1; payloads stay with their nodes, and so
    // does the cursor. Nothing happens when n + 1 is not an element.
    void SwapWithNext(unsigned n)
    {
        if (m_size < 2 || n > m_size - 2)
            return;
        Node* prev = n > 0 ? NodeAt(n - 1) : NULL;
        Node* first = prev ? prev->GetNext() : m_head;
        Node* second = first->GetNext();

        first->SetNext(second->GetNext());
        second->SetNext(first);
        if (prev)
            prev->SetNext(second);
        else
            m_head = second;
        if (m_tail == second)
            m_tail = first;
    }

  private:
    typedef CPtrListNode<T> Node;

    // Index walk that leaves the cursor alone; n must be below the size.
    Node* NodeAt(unsigned n) const
    {
        Node* node = m_head;
        for (unsigned i = 0; i < n; i++)
            node = node->GetNext();
        return node;
    }

    Node* m_head;
    Node* m_cur;
    Node* m_tail;
    uint32_t m_size;
    int32_t m_curIndex;
};

// A tree node: one payload, a parent, and the list of its child nodes, which
// is the node itself. The child links normally own the child trees, so
// clearing or destroying a node takes its whole subtree with it.
template <class T> class CPtrTree : public CPtrList<CPtrTree<T>>
{
    typedef CPtrList<CPtrTree<T>> Children;

  public:
    CPtrTree() : m_data(NULL), m_parent(NULL), m_deleteData(false)
    {
    }
    CPtrTree(T* data, CPtrTree* parent, bool deleteData)
        : m_data(data), m_parent(parent), m_deleteData(deleteData)
    {
    }
    ~CPtrTree() override
    {
        Clear();
    }

    // Frees the payload when this node owns it, then every child link.
    bool Clear()
    {
        if (m_deleteData)
            delete m_data;
        m_data = NULL;
        return Children::Clear();
    }

    // Replaces this node's payload and subtree with fresh copies of source's
    // (payloads copy-constructed, links and payloads owned as this node's
    // delete-data flag says; with the flag clear the caller must free them
    // itself). Walks source's own cursor and leaves this node's cursor on
    // its last child. A source that is this node, one of its descendants or
    // one of its ancestors would be freed or grown while being read: it is
    // refused, and false is returned.
    bool Copy(CPtrTree* source)
    {
        if (!source || IsAncestorOf(source) || source->IsAncestorOf(this))
            return false;
        Clear();
        if (source->m_data)
            m_data = new T(*source->m_data);

        source->ResetCur();
        for (CPtrTree* c = source->GetCur(); c; c = source->GetNext())
        {
            // The payload is left to the child's own Copy, so it is made once.
            CPtrTree* child = new CPtrTree(NULL, this, m_deleteData);
            this->Add(child, m_deleteData);
            child->Copy(c);
        }
        if (this->GetSize() > 0)
            this->GetAt(this->GetSize() - 1);
        return true;
    }

    T* GetData() const
    {
        return m_data;
    }
    // Does not free the payload it replaces.
    void SetData(T* data)
    {
        m_data = data;
    }
    CPtrTree* GetParent() const
    {
        return m_parent;
    }
    void SetParent(CPtrTree* parent)
    {
        m_parent = parent;
    }
    bool GetDeleteData() const
    {
        return m_deleteData;
    }
    void SetDeleteData(bool deleteData)
    {
        m_deleteData = deleteData;
    }

  private:
    // True when node is this one or lies below it.
    bool IsAncestorOf(const CPtrTree* node) const
    {
        for (; node; node = node->m_parent)
        {
            if (node == this)
                return true;
        }
        return false;
    }

    T* m_data;
    CPtrTree* m_parent;
    bool m_deleteData;
};

// Stable sort by cmp (negative, 0, positive as for strcmp): equal elements
// keep their order. Insertion through SwapWithNext, so payloads stay in
// their nodes; meant for lists of a few hundred entries. Leaves the cursor
// at the head.
template <class T, class Cmp> void SortPtrList(CPtrList<T>& list, Cmp cmp)
{
    unsigned size = list.GetSize();
    for (unsigned i = 1; i < size; i++)
    {
        for (unsigned j = i; j > 0; j--)
        {
            T* before = list.GetAt(j - 1);
            T* after = list.GetNext();
            if (cmp(before, after) <= 0)
                break;
            list.SwapWithNext(j - 1);
        }
    }
    list.ResetCur();
}
