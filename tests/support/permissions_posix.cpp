#include "support/permissions.h"
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned overrideBits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool readCaps(__user_cap_header_struct& header, __user_cap_data_struct (&data)[2])
{
    header = {_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

void setEffectiveOverride(bool on)
{
    __user_cap_header_struct header;
    __user_cap_data_struct data[2];
    if (!readCaps(header, data))
        return;
    data[0].effective = on ? data[0].effective | (data[0].permitted & overrideBits)
                           : data[0].effective & ~overrideBits;
    syscall(SYS_capset, &header, data);
}

}

ModesEnforced::ModesEnforced() : dropped_(geteuid() == 0)
{
    if (dropped_)
        setEffectiveOverride(false);
}

ModesEnforced::~ModesEnforced()
{
    if (dropped_)
        setEffectiveOverride(true);
}
