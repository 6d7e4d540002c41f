// Many points through one chain on several threads, with exactly the results of converting
// them one after another on one thread.
//
// Converting in order hands each point the PointState its predecessor left, and the state
// decides digits: the first estimate of the Cartesian-to-geographic iteration is the latitude
// of the last Cartesian point (chain/point_chain.h). Here the points are cut into slices, one
// or a few per thread, each converted at once from a fresh PointState. Then, slice after
// slice, the start of each is converted again from the state the slice before really ended
// with, until the state after a point equals, bit for bit, the state the slice's own run had
// there: from that point on its run was the run in order. A slice started afresh rejoins the
// run within two points in every case measured (tests/engine/cartesian_estimate_test.cpp);
// one that has not rejoined within the states kept is converted again whole, so the result
// never depends on that measurement. Input that is not Cartesian leaves the estimates as
// they start, and nothing is converted twice.
#pragma once

#include <cstddef>
#include <functional>

#include "chain/point_chain.h"
#include "chain/worker_pool.h"

namespace tarvo::chain {

// Converts point `index` with `state`, and writes its result where index says. It may be
// called again for the same index (the later call's result is the one in order) and must not
// throw.
using IndexedConvert = std::function<void(std::size_t index, PointState& state)>;

// convert(0) to convert(count - 1) in order, or with `pool` spread over its workers and the
// calling thread, with the same results. Without a pool, on the calling thread.
void ConvertInOrder(WorkerPool* pool, std::size_t count, const IndexedConvert& convert);

}  // namespace tarvo::chain
