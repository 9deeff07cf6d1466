#include "tools/ObjectHolder.h"

OwnedObject::~OwnedObject() = default;

ObjectHolderRecord::ObjectHolderRecord(OwnedObject* object) : object(object)
{
    if (object != nullptr)
        object->OnTakenOver();
}

ObjectHolderRecord::~ObjectHolderRecord()
{
    delete object;
}

ObjectHolderRef::ObjectHolderRef(OwnedObject* object) : ErrorRef(new ObjectHolderRecord(object)) {}
