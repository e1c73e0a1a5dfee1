// Catalogue builders. Nothing is assembled yet: the catalogue is the empty text.
#include "catalogue/catalogue_builder.h"

int BuildRecentApplicationsNt6(WideString& wstrResult) {
    return static_cast<int>(wstrResult.size());
}

int BuildRecentApplicationsNt5(WideString& wstrResult) {
    return static_cast<int>(wstrResult.size());
}
