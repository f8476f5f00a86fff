// vic_test.cpp: the VIC-II register file as a program reaches it through $D000-$D3FF.
#include "chips/vic.h"

#include "chips/chip_test.h"

namespace {
using VicRegisters = ChipTest;

TEST_F(VicRegisters, WritesReadBackWithTheirFixedBits) {
  struct Case { uint16_t write; uint8_t value; uint16_t read; uint8_t expected; };
  const Case cases[] = {
      {0xD016, 0x40, 0xD016, 0xE0}, {0xD018, 0x00, 0xD018, 0x01}, {0xD01A, 0x01, 0xD01A, 0xF1},
      {0xD020, 0x00, 0xD020, 0xF0}, {0xD3E1, 0x37, 0xD021, 0xF7}, {0xD01E, 0x5A, 0xD01E, 0x5A},
      {0xD040, 0x12, 0xD000, 0x12}, {0xD02F, 0x55, 0xD06F, 0xFF}};
  for (const Case& c : cases) {
    MemWrite(c.write, c.value);
    EXPECT_EQ(MemRead(c.read), c.expected) << std::hex << c.write;
  }
}

TEST_F(VicRegisters, WritesDeriveRendererValuesAndTheRasterCompare) {
  MemWrite(0xD011, 0xFB);
  MemWrite(0xD012, 0x40);
  MemWrite(0xD016, 0x1F);
  MemWrite(0xD018, 0xF4);
  EXPECT_EQ(vicEcm | vicBmm | vicDen | vicRsel | vicYScroll, 0x7B);
  EXPECT_EQ(vicMcm | vicCsel | vicXScroll, 0x1F);
  EXPECT_EQ(videoMatrixOffset + charBaseOffset, 0x3C00 + 0x1000);
  EXPECT_EQ(rasterCompareLine, 0x140);
  rasterLine = 44;
  EXPECT_EQ(MemRead(0xD011), 0x7B) << "bit 7 is the raster line's bit 8";
  rasterLine = 300;
  EXPECT_EQ(MemRead(0xD011) * 256 + MemRead(0xD012), 0xFB00 + 44);
  MemWrite(0xD011, 0x1B);
  EXPECT_EQ(rasterCompareLine, 0x40);
  ResetVic();
  EXPECT_EQ(rasterCompareLine, 0xFFFF);
  EXPECT_EQ(vicDen + vicXScroll, 7) << "a reset clears only some derived values";
}

TEST_F(VicRegisters, AcknowledgeDropsTheIrqOnlyWhenNoEnabledSourceIsLeft) {
  struct Case { uint8_t enable; uint8_t acknowledge; uint8_t latch; uint32_t irq; };
  const Case cases[] = {
      {0x01, 0x01, 0x76, 0}, {0x01, 0x00, 0xF7, 1}, {0x01, 0x02, 0xF7, 1}, {0x00, 0x00, 0x77, 0}};
  for (const Case& c : cases) {
    ResetVic();
    irqPending = 0;
    MemWrite(0xD01A, c.enable);
    RaiseRasterInterrupt();
    EXPECT_EQ(irqPending, c.enable);
    MemWrite(0xD019, c.acknowledge);
    EXPECT_EQ(MemRead(0xD019), c.latch) << int(c.enable) << " " << int(c.acknowledge);
    EXPECT_EQ(irqPending, c.irq) << int(c.enable) << " " << int(c.acknowledge);
  }
}
}  // namespace
