// The comparison table of a demo data drive filled as the loader leaves it: suppliers 1 to
// `slotCount` loaded into their slots, then the differences computed.
#pragma once

#include <QString>

// False, with the reason, when a load or the differences did not complete.
bool LoadDemoComparison(const QString& mainDb, int slotCount, QString* failure);
