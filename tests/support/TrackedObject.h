// An owned object that counts how often it is taken over and destroyed, for
// tests of the records and holders that take objects over.
#ifndef KESTRIN_TESTS_SUPPORT_TRACKEDOBJECT_H
#define KESTRIN_TESTS_SUPPORT_TRACKEDOBJECT_H

#include "tools/ObjectHolder.h"

namespace test {

// Counts its take-overs and its destruction.
class Tracked : public OwnedObject {
 public:
  Tracked(int* takenOver, int* destroyed) : takenOver(takenOver), destroyed(destroyed) {}
  ~Tracked() override { ++*destroyed; }
  void OnTakenOver() override { ++*takenOver; }

 private:
  int* takenOver;
  int* destroyed;
};

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_TRACKEDOBJECT_H
