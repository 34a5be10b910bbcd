#include "db/idcursor.h"

#include <algorithm>

void SvIdCursor::start(bool forward, bool skipErased) {
    m_pos = forward ? 0 : static_cast<long>(m_ids.size()) - 1;
    if (skipErased)
        this->skipErased(forward);
}

void SvIdCursor::step(bool forward, bool skipErased) {
    if (done())
        return;
    m_pos += forward ? 1 : -1;
    if (skipErased)
        this->skipErased(forward);
}

void SvIdCursor::skipErased(bool forward) {
    while (!done() && (!current().isValid() || current().isErased()))
        m_pos += forward ? 1 : -1;
}

bool SvIdCursor::done() const {
    return m_pos < 0 || m_pos >= static_cast<long>(m_ids.size());
}

AcDbObjectId SvIdCursor::current() const {
    return done() ? AcDbObjectId() : m_ids[static_cast<std::size_t>(m_pos)];
}

bool SvIdCursor::seek(const AcDbObjectId& id) {
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end())
        return false;
    m_pos = static_cast<long>(it - m_ids.begin());
    return true;
}
