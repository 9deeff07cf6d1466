// Records that own one polymorphic object: ObjectHolderRecord keeps an
// object alive as long as some handle shares it (and the socket error record
// of WinsockError.h owns its context the same way).
#ifndef KESTRIN_TOOLS_OBJECTHOLDER_H
#define KESTRIN_TOOLS_OBJECTHOLDER_H

#include "tools/ErrorRecord.h"

// An object a record can take over: the record calls OnTakenOver once when
// it takes the object and destroys it through the virtual destructor when
// the record goes.
class OwnedObject {
 public:
  virtual ~OwnedObject();
  virtual void OnTakenOver() {}

 protected:
  OwnedObject() = default;
  OwnedObject(const OwnedObject&) = default;
  OwnedObject& operator=(const OwnedObject&) = default;
};

class ObjectHolderRecord : public ErrorTextRecord {
 public:
  // Takes over `object` (may be null).
  explicit ObjectHolderRecord(OwnedObject* object);
  ~ObjectHolderRecord() override;

  // Always "".
  const char* GetText() const override { return ""; }
  OwnedObject* Object() const { return object; }

 private:
  OwnedObject* object;
};

class ObjectHolderRef : public ErrorRef {
 public:
  // Takes over `object` in every case: when the record cannot be made,
  // the object is destroyed before the failure is thrown on.
  explicit ObjectHolderRef(OwnedObject* object);
  ObjectHolderRecord* Record() const { return static_cast<ObjectHolderRecord*>(Get()); }
};

#endif  // KESTRIN_TOOLS_OBJECTHOLDER_H
