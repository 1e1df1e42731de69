#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>

/// A list of texts that is either kept in insertion order or sorted with duplicates
/// ignored (the question ordinals of a sheet: fixed-width texts, so the order is numeric).
class StringList
{
public:
    explicit StringList(bool sorted = false) : m_sorted(sorted) {}

    bool isSorted() const { return m_sorted; }

    /// Sorted list: inserts in order and ignores a text already present.
    void add(const QString &text)
    {
        if (!m_sorted) {
            m_items.append(text);
            return;
        }
        auto it = std::lower_bound(m_items.begin(), m_items.end(), text);
        if (it == m_items.end() || *it != text)
            m_items.insert(it, text);
    }

    bool contains(const QString &text) const
    {
        if (m_sorted)
            return std::binary_search(m_items.begin(), m_items.end(), text);
        return m_items.contains(text);
    }

    /// True when some entry begins with the given text.
    bool containsPrefix(const QString &prefix) const
    {
        if (m_sorted) {
            auto it = std::lower_bound(m_items.begin(), m_items.end(), prefix);
            return it != m_items.end() && it->startsWith(prefix);
        }
        return std::any_of(m_items.begin(), m_items.end(),
                           [&](const QString &s) { return s.startsWith(prefix); });
    }

    /// Replaces the content; a sorted list sorts it and drops duplicates (one sort, so
    /// a long damaged file still loads in n log n).
    void setItems(const QStringList &items)
    {
        m_items = items;
        if (!m_sorted)
            return;
        std::sort(m_items.begin(), m_items.end());
        m_items.erase(std::unique(m_items.begin(), m_items.end()), m_items.end());
    }

    int count() const { return static_cast<int>(m_items.size()); }
    const QString &at(int i) const { return m_items.at(i); }
    void clear() { m_items.clear(); }
    const QStringList &items() const { return m_items; }

private:
    bool m_sorted;
    QStringList m_items;
};
