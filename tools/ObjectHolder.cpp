#include "tools/ObjectHolder.h"

#include <memory>

OwnedObject::~OwnedObject() = default;

ObjectHolderRecord::ObjectHolderRecord(OwnedObject* object) : object(object) {
  if (object != nullptr)
    object->OnTakenOver();
}

ObjectHolderRecord::~ObjectHolderRecord() { delete object; }

namespace {

// The object is held here until the record has taken it over: when the
// record cannot be allocated, it is destroyed, not lost.
ObjectHolderRecord* NewObjectHolderRecord(OwnedObject* object) {
  std::unique_ptr<OwnedObject> owned(object);
  ObjectHolderRecord* record = new ObjectHolderRecord(owned.get());
  owned.release();
  return record;
}

}  // namespace

ObjectHolderRef::ObjectHolderRef(OwnedObject* object) : ErrorRef(NewObjectHolderRecord(object)) {}
