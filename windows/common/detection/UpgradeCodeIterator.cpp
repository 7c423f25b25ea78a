#include "UpgradeCodeIterator.h"

#include "GuidText.h"
#include "TeguError.h"
#include "tstrings.h"

UpgradeCodeIterator::UpgradeCodeIterator(int type, int bits)
    : format_(getTemplate(type)), bits_(bits) {}

const char* UpgradeCodeIterator::getTemplate(int type) {
    switch (type) {
    case CXR: return "6FA2C913-D07E-4B19-84F1-A6C5E%2dF%04d";
    case CXS: return "%2dE61B7C-C05D-47C2-9F43-0D3F9A1%04dE";
    default: JP_THROW_MSG("Unrecognized product type");
    }
}

GUID UpgradeCodeIterator::next() {
    if (major_ >= kEndMajor) return GUID{};
    return guidFromText(tstrings::sformat(format_, bits_, major_++));
}
