#pragma once

namespace prvdrinfo {

// Counts the load routines (Class_ReadProperties) running on this thread one inside
// another: nested objects restored from a bag, and objects that deserialize children from
// bytes they hold. Crafted bytes can nest such loads without end; past
// kMaxLoadDepth the next level raises err::kInvalidBagContents instead of running out of
// stack. Honest data stays far below: nesting inside one document stops at
// PropertyBag::kMaxDepth.
class LoadDepth {
 public:
  static constexpr int kMaxLoadDepth = 256;

  LoadDepth();
  ~LoadDepth();
  LoadDepth(const LoadDepth&) = delete;
  LoadDepth& operator=(const LoadDepth&) = delete;
};

}  // namespace prvdrinfo
