#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace kestu {

// A two-way binding to a value the host owns: read at every use, written by the control.
// A control does not watch the value; the host calls the control's refresh() after changing
// it from elsewhere (as a redraw would).
template <typename T> class KestuBinding final {
public:
    KestuBinding() = default;
    KestuBinding(std::function<T()> get, std::function<void(const T&)> set)
        : m_get(std::move(get))
        , m_set(std::move(set))
    {
    }

    // A binding to a value held by the caller (and kept alive by the binding).
    static KestuBinding of(std::shared_ptr<T> storage)
    {
        return KestuBinding([storage] { return *storage; }, [storage](const T& value) { *storage = value; });
    }
    // A binding that reads `value` and ignores writes.
    static KestuBinding constant(T value)
    {
        return KestuBinding([value] { return value; }, [](const T&) {});
    }

    T get() const { return m_get ? m_get() : T {}; }
    void set(const T& value) const
    {
        if (m_set)
            m_set(value);
    }

private:
    std::function<T()> m_get;
    std::function<void(const T&)> m_set;
};

} // namespace kestu
