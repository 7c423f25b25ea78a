#pragma once

// The kinds of Calyx products the installer recognises.
enum ProductType {
    CXR = 0,    // runtime
    CXS = 1,    // development kit
    GLINT = 2,  // graphics toolkit
};

// "CXR", "CXS", "GLINT", or "Unknown" for any other value.
const char* productTypeName(int type);
