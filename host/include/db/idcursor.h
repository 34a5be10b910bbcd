#pragma once

#include <utility>
#include <vector>

#include "db/objectid.h"

#pragma GCC visibility push(default)

// The walk of the database's iterators: a position in a snapshot of ids, either way, passing
// over objects that are erased or gone when asked to.
class SvIdCursor {
public:
    explicit SvIdCursor(std::vector<AcDbObjectId> ids) : m_ids(std::move(ids)) {}

    void start(bool forward, bool skipErased);
    void step(bool forward, bool skipErased);
    bool done() const;
    // The null id when done.
    AcDbObjectId current() const;
    // False when the id is not among the snapshot's; the position is then unchanged.
    bool seek(const AcDbObjectId& id);

private:
    void skipErased(bool forward);
    std::vector<AcDbObjectId> m_ids;
    long m_pos = 0;
};

#pragma GCC visibility pop
