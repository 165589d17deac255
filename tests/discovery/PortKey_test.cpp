// The port key: which found port is a known one.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "devices/TBthPort.h"
#include "devices/TIrDAPort.h"
#include "devices/TSerialPort.h"
#include "discovery/PortKey.h"

namespace {

std::unique_ptr<TComm> Serial(const char* name)
{
    auto port = std::make_unique<TSerialPort>();
    port->portName = name;
    return port;
}

std::unique_ptr<TComm> Irda(std::array<uint8_t, 4> address, const char* name = "IrDA")
{
    auto port = std::make_unique<TIrDAPort>();
    port->portName = name;
    std::copy(address.begin(), address.end(), port->irdaAddress);
    return port;
}

std::unique_ptr<TComm> Bth(std::array<uint8_t, 8> address)
{
    auto port = std::make_unique<TBthPort>();
    port->portName = "Bluetooth";
    port->SetAddress(address.data());
    return port;
}

struct KeyCase {
    const char* name;
    std::unique_ptr<TComm> (*a)();
    std::unique_ptr<TComm> (*b)();
    bool same;
};

const KeyCase kCases[] = {
    {"SerialSameName", [] { return Serial("COM3"); }, [] { return Serial("COM3"); }, true},
    {"SerialOtherName", [] { return Serial("COM3"); }, [] { return Serial("COM4"); }, false},
    {"SerialNameCaseMatters", [] { return Serial("COM3"); }, [] { return Serial("com3"); }, false},
    {"SerialWithoutNames", [] { return Serial(""); }, [] { return Serial(""); }, true},
    {"IrdaSameAddress", [] { return Irda({1, 2, 3, 4}); }, [] { return Irda({1, 2, 3, 4}); }, true},
    {"IrdaFirstByteDiffers", [] { return Irda({1, 2, 3, 4}); }, [] { return Irda({9, 2, 3, 4}); }, false},
    {"IrdaLastByteDiffers", [] { return Irda({1, 2, 3, 4}); }, [] { return Irda({1, 2, 3, 9}); }, false},
    {"IrdaMiddleBytesDiffer", [] { return Irda({1, 2, 3, 4}); }, [] { return Irda({1, 7, 7, 4}); }, false},
    {"IrdaSameAddressOtherName", [] { return Irda({1, 2, 3, 4}); }, [] { return Irda({1, 2, 3, 4}, "X"); }, false},
    {"BluetoothSameAddress", [] { return Bth({1, 2, 3, 4, 5, 6, 0, 0}); }, [] { return Bth({1, 2, 3, 4, 5, 6, 0, 0}); },
     true},
    {"BluetoothLowHalfDiffers", [] { return Bth({1, 2, 3, 4, 5, 6, 0, 0}); },
     [] { return Bth({1, 2, 3, 5, 5, 6, 0, 0}); }, false},
    {"BluetoothHighHalfDiffers", [] { return Bth({1, 2, 3, 4, 5, 6, 0, 0}); },
     [] { return Bth({1, 2, 3, 4, 5, 7, 0, 0}); }, false},
    {"KindsNeverMix", [] { return Serial("IrDA"); }, [] { return Irda({0, 0, 0, 0}); }, false},
};

class PortKeyTest : public testing::TestWithParam<size_t> {};

TEST_P(PortKeyTest, SamePortOrNot)
{
    const KeyCase& c = kCases[GetParam()];
    auto a = c.a();
    auto b = c.b();
    EXPECT_EQ(IsSamePort(*a, *b), c.same);
    EXPECT_EQ(IsSamePort(*b, *a), c.same);
}

INSTANTIATE_TEST_SUITE_P(Discovery, PortKeyTest, testing::Range<size_t>(0, std::size(kCases)),
                         [](const testing::TestParamInfo<size_t>& info) { return std::string(kCases[info.param].name); });

TEST(PortKey, UnknownKindsNeverMatch)
{
    auto a = Serial("COM1");
    auto b = Serial("COM1");
    a->kind = 7;
    b->kind = 7;
    EXPECT_FALSE(IsSamePort(*a, *b));
}

TEST(PortKey, FindPortAnswersTheFirstSamePort)
{
    auto first = Irda({1, 2, 3, 4});
    auto second = Irda({1, 2, 3, 4});
    auto other = Irda({1, 2, 3, 5});
    List<TComm> list;
    list.Append(other.get());
    list.Append(first.get());
    list.Append(second.get());
    auto probe = Irda({1, 2, 3, 4});
    EXPECT_EQ(FindPort(*probe, list), first.get());
    auto missing = Irda({4, 3, 2, 1});
    EXPECT_EQ(FindPort(*missing, list), nullptr);
    list.RemoveAll();
}

}  // namespace
