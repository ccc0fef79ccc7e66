// The one handle holder: each handle closed exactly once on every road a holder can take.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/unique_handle.h"

namespace {
// Handles are small numbers, 0 is none; every close is written down, and closing 13 fails with 5.
struct CountingTraits {
  using Handle = int;
  static Handle Null() { return 0; }
  static bool IsValid(Handle handle) { return handle != 0; }
  Status Close(Handle handle) const {
    closed->push_back(handle);
    return handle == 13 ? status::AccessDenied : status::Success;
  }
  std::vector<int>* closed = nullptr;
};
using Holder = UniqueHandle<CountingTraits>;
}  // namespace

TEST(UniqueHandle, ClosesEachHandleExactlyOnceWhateverItsRoad) {
  struct Case {
    const char* what;
    std::function<void(CountingTraits)> road;
    std::vector<int> closed;
  };
  const Case cases[] = {
      {"received, then out of scope",
       [](CountingTraits t) {
         Holder h(t);
         *h.Receive() = 7;
       },
       {7}},
      {"closed early, then out of scope",
       [](CountingTraits t) {
         Holder h(7, t);
         EXPECT_EQ(h.Close(), status::Success);
         EXPECT_FALSE(h.IsOpen());
       },
       {7}},
      {"a failed close is told",
       [](CountingTraits t) { EXPECT_EQ(Holder(13, t).Close(), status::AccessDenied); },
       {13}},
      {"moved into another holder",
       [](CountingTraits t) {
         Holder a(7, t);
         Holder b(std::move(a));
       },
       {7}},
      {"moved over a holder that held one",
       [](CountingTraits t) {
         Holder a(7, t);
         Holder b(8, t);
         b = std::move(a);
         EXPECT_EQ(b.get(), 7);
       },
       {8, 7}},
      {"released: given up, never closed", [](CountingTraits t) { EXPECT_EQ(Holder(7, t).Release(), 7); }, {}},
      {"closed, then received again",
       [](CountingTraits t) {
         Holder h(7, t);
         h.Close();
         *h.Receive() = 8;
       },
       {7, 8}},
      {"never received", [](CountingTraits t) { Holder h(t); }, {}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    std::vector<int> closed;
    CountingTraits traits;
    traits.closed = &closed;
    row.road(traits);
    EXPECT_EQ(closed, row.closed);
  }
}
