#pragma once

#include <algorithm>
#include <vector>

// Reactors held once each, not owned. A reactor may add or remove reactors while it is being
// notified: a notification reaches those attached when it began and still attached in their turn.
template <class Reactor>
class SvReactorList {
public:
    void add(Reactor* reactor) {
        if (reactor != nullptr && !holds(reactor))
            m_reactors.push_back(reactor);
    }

    void remove(Reactor* reactor) {
        m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor),
                         m_reactors.end());
    }

    template <class NotifyOne>
    void notify(NotifyOne notifyOne) const {
        const std::vector<Reactor*> snapshot = m_reactors;
        for (Reactor* reactor : snapshot) {
            if (holds(reactor))
                notifyOne(reactor);
        }
    }

private:
    bool holds(const Reactor* reactor) const {
        return std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end();
    }

    std::vector<Reactor*> m_reactors;
};
