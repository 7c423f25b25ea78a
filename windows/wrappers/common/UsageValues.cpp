#include "UsageValues.h"

UsageValues& UsageValues::current() {
    static UsageValues values;
    return values;
}
