#pragma once
// Tests run as root in CI, where file modes never refuse an open. While a
// ModesEnforced object lives, the calling thread gives up root's power to
// override file modes, so a mode-000 file fails with "Permission denied".
class ModesEnforced {
public:
    ModesEnforced();
    ~ModesEnforced();
    ModesEnforced(const ModesEnforced&) = delete;
    ModesEnforced& operator=(const ModesEnforced&) = delete;

private:
    bool dropped_ = false;
};
