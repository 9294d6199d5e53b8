#pragma once

#include "model/Model.h"
#include "platform/MessageBox.h"

#include <string>

// What preparing a model asks of the program, stood in for by a benchmark.
namespace sw::bench {

// Message boxes that nobody sees: each answers OK.
class NoMessages : public MessageBoxService {
public:
    int messageBox(Window, const std::string&, const std::string&, unsigned) override {
        return kIdOk;
    }
};

// The texture loading, giving every material a 64 x 64 texture without reading a file.
inline void loaded64(Material& material, const std::string&) {
    material.notLoaded = false;
    material.width = 64;
    material.height = 64;
}

} // namespace sw::bench
