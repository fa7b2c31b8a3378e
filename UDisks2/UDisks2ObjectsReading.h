#pragma once

#include <QDBusArgument>

#include "UDisks2/UDisks2Objects.h"

namespace kestrix {

// The block devices and drives in the service's answer to GetManagedObjects (a{oa{sa{sv}}}).
// Properties of an unexpected type read as absent.
UDisks2Objects readUDisks2Objects(const QDBusArgument& managedObjects);

}  // namespace kestrix
