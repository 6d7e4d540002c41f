// Many points through one chain on several threads, with exactly the results of converting
// them one after another on one thread.
//
// Converting in order hands each point the PointState its predecessor left, and the state
// decides digits: the first estimate of the Cartesian-to-geographic iteration is the latitude
// of the last Cartesian point (chain/point_chain.h). Here the points are cut into slices, a few
// per thread (a thread that finishes one early takes the next), each converted at once from a
// fresh PointState. Then, slice after
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

// Converts points begin to end - 1 in order, starting from `state` and leaving in it the
// state after the last, and writes their results where their indices say (it may convert
// them two at a time: PointChain::ConvertPair gives the same results). It may be called
// again for points it has converted (the later call's results are the ones in order) and
// must not throw.
using RangeConvert = std::function<void(std::size_t begin, std::size_t end, PointState& state)>;

// convert(0, count) in order, or with `pool` spread over its workers and the calling thread,
// with the same results. Without a pool, on the calling thread.
void ConvertInOrder(WorkerPool* pool, std::size_t count, const RangeConvert& convert);

}  // namespace tarvo::chain
