#pragma once
#include <string>

// A small phone memory in a temporary folder, for runs without --root. Removed again by
// the destructor.
class SampleTree {
 public:
  SampleTree() = default;
  ~SampleTree();
  SampleTree(const SampleTree&) = delete;
  SampleTree& operator=(const SampleTree&) = delete;

  bool Create(std::string& error);
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
