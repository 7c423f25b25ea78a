#include "ProductType.h"

const char* productTypeName(int type) {
    switch (type) {
    case CXR: return "CXR";
    case CXS: return "CXS";
    case GLINT: return "GLINT";
    default: return "Unknown";
    }
}
