#pragma once

#include <string>

// A cgroup v1 group of the process's own, made below its group in the hierarchy of one
// controller, for the conditions a benchmark measures under (a slow disk, a container's CPU
// quota). The process goes into it with Enter(), and every thread it starts from then on goes
// with it; when the object goes, the process returns to its former group and the new one is
// removed. Needs the controller mounted as cgroup v1 and the right to make groups (root):
// where something cannot be done, Problem() says why and what follows is not done.
class OwnCgroup {
 public:
  OwnCgroup(const std::string& controller, const std::string& name);
  ~OwnCgroup();
  OwnCgroup(const OwnCgroup&) = delete;
  OwnCgroup& operator=(const OwnCgroup&) = delete;

  // The first word of one of the group's files; empty when it cannot be read.
  std::string Read(const std::string& file) const;
  void Set(const std::string& file, const std::string& text);
  void Enter();

  // Empty while everything asked could be done.
  const std::string& Problem() const { return problem_; }

 private:
  std::string formerGroup_;
  std::string group_;
  std::string problem_;
};
