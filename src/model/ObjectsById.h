#pragma once
// The objects of a frame's list by their IDs. Whatever keeps objects across their removal (the
// history's steps and snapshots) names them by ID, never by address: undo and redo take objects
// out and make them anew.

#include "model/Records.h"

#include <QHash>

#include <memory>
#include <vector>

namespace flow {

template <typename T> QHash<Int, T*> ObjectsById(const std::vector<std::unique_ptr<T>>& list) {
    QHash<Int, T*> byId;
    byId.reserve(qsizetype(list.size()));
    for (const auto& item : list)
        byId.insert(item->Id, item.get());
    return byId;
}

} // namespace flow
