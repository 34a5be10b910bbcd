#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace sv::user {

// Objects behind handles that carry a generation: the handle of an object that is gone never
// names a later one, and a made-up handle is refused rather than followed. The generation sits
// in the high half, the slot index + 1 in the low half, so no handle is null or one of the
// small special values (HWND_BOTTOM ...).
template <class Object, class Handle>
class HandleTable {
public:
    Object* find(Handle handle) const {
        const auto value = reinterpret_cast<std::uintptr_t>(handle);
        const auto low = static_cast<std::uint32_t>(value & 0xffffffffu);
        const auto generation = static_cast<std::uint32_t>(value >> 32);
        if (low == 0 || low > m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[low - 1];
        if (slot.generation != generation || !slot.object)
            return nullptr;
        return slot.object.get();
    }

    Handle add(std::unique_ptr<Object> object) {
        std::uint32_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            index = static_cast<std::uint32_t>(m_slots.size());
            m_slots.emplace_back();
        }
        Slot& slot = m_slots[index];
        slot.object = std::move(object);
        return reinterpret_cast<Handle>((static_cast<std::uintptr_t>(slot.generation) << 32) |
                                        (static_cast<std::uintptr_t>(index) + 1));
    }

    // The object is freed after the handle died, so whatever its destructor reaches sees the
    // handle dead.
    void remove(Handle handle) {
        if (!find(handle))
            return;
        const auto index =
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle) & 0xffffffffu) - 1;
        Slot& slot = m_slots[index];
        std::unique_ptr<Object> gone = std::move(slot.object);
        // A generation that wrapped to 0 would encode as no object.
        slot.generation = slot.generation == UINT32_MAX ? 1 : slot.generation + 1;
        m_free.push_back(index);
    }

private:
    struct Slot {
        std::unique_ptr<Object> object;
        std::uint32_t generation = 1;
    };
    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_free;
};

} // namespace sv::user
