// The hidden result of an entry: the caller passes the address of the
// result's storage first; the entry writes the value there and returns the
// address (in EAX on i386).
#pragma once

namespace vx {

template <class R>
R *store_result(R *result, const R &value) {
  *result = value;
  return result;
}

}  // namespace vx
