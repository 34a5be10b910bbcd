#pragma once

#include <map>
#include <memory>

// Which library object stands for a platform handle. Permanent entries belong to their objects
// (attached by them, removed when they detach); temporary ones are wrappers made on demand for
// foreign handles, owned here and dropped once their handle is dead.
template <typename Handle, typename Object>
class HandleMap {
public:
    using Alive = bool (*)(Handle);
    using Wrap = void (*)(Object&, Handle);
    using Unwrap = void (*)(Object&);

    HandleMap(Alive alive, Wrap wrap, Unwrap unwrap)
        : m_alive(alive), m_wrap(wrap), m_unwrap(unwrap) {}
    HandleMap(const HandleMap&) = delete;
    HandleMap& operator=(const HandleMap&) = delete;
    ~HandleMap() {
        for (auto& [handle, object] : m_temporary)
            m_unwrap(*object);
    }

    Object* permanent(Handle handle) const {
        const auto it = m_permanent.find(handle);
        return it != m_permanent.end() ? it->second : nullptr;
    }
    bool add(Handle handle, Object* object) { return m_permanent.emplace(handle, object).second; }
    void remove(Handle handle) { m_permanent.erase(handle); }

    // The permanent object, else a temporary one of type Made; null for a dead handle.
    template <typename Made = Object>
    Object* fromHandle(Handle handle) {
        if (handle == nullptr || !m_alive(handle))
            return nullptr;
        if (Object* object = permanent(handle))
            return object;
        sweep();
        auto& slot = m_temporary[handle];
        if (!slot) {
            slot = std::make_unique<Made>();
            m_wrap(*slot, handle);
        }
        return slot.get();
    }

private:
    void sweep() {
        for (auto it = m_temporary.begin(); it != m_temporary.end();) {
            if (m_alive(it->first)) {
                ++it;
            } else {
                m_unwrap(*it->second);
                it = m_temporary.erase(it);
            }
        }
    }

    Alive m_alive;
    Wrap m_wrap;
    Unwrap m_unwrap;
    std::map<Handle, Object*> m_permanent;
    std::map<Handle, std::unique_ptr<Object>> m_temporary;
};
