#include "layout_writer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "test_support.h"

namespace {

void write_entry(layout_writer& layout, std::uint32_t offset,
                 const std::string& name) {
  ASSERT_FALSE(layout.write_entry_line(offset, name.data(), name.size()));
}

TEST(LayoutWriter, WritesTheLinesByteForByte) {
  scratch_directory scratch;
  {
    layout_writer layout;
    ASSERT_FALSE(layout.create());
    ASSERT_FALSE(layout.write_version_line());
    write_entry(layout, 0, "a.bin");
    write_entry(layout, 0x10, "empty.bin");
    write_entry(layout, 0x10, "c.bin");
    // Nothing in a name is escaped or taken as a format directive.
    write_entry(layout, 0x133, " my \"x\" %s,1.bin ");
    write_entry(layout, 0xabcdef12, "");
    ASSERT_FALSE(layout.write_end_line(0xffffffff));
    ASSERT_FALSE(layout.close());
  }
  EXPECT_EQ(read_file("out.xnq"),
            "v1.00\n"
            "0x00000000,\"a.bin\"\n"
            "0x00000010,\"empty.bin\"\n"
            "0x00000010,\"c.bin\"\n"
            "0x00000133,\" my \"x\" %s,1.bin \"\n"
            "0xabcdef12,\"\"\n"
            "0xffffffff,\"\"\n");
}

TEST(LayoutWriter, TruncatesAnExistingFileAndWritesThroughItsBuffer) {
  scratch_directory scratch;
  write_file("out.xnq", std::string(100000, 'x'));
  std::string name(79, 'n');
  std::string expected = "v1.00\n";
  {
    layout_writer layout;
    ASSERT_FALSE(layout.create());
    EXPECT_EQ(read_file("out.xnq"), "");
    ASSERT_FALSE(layout.write_version_line());
    // Far more than one buffer's worth, so that it is written in parts.
    for (std::uint32_t i = 0; i < 5000; ++i) {
      write_entry(layout, i, name);
      char offset[16];
      std::snprintf(offset, sizeof offset, "0x%08x", i);
      expected += std::string(offset) + ",\"" + name + "\"\n";
    }
    ASSERT_FALSE(layout.write_end_line(5000));
    expected += "0x00001388,\"\"\n";
    ASSERT_FALSE(layout.close());
  }
  EXPECT_EQ(read_file("out.xnq"), expected);
}

TEST(LayoutWriter, LeavesAnEmptyFileWhenNotClosed) {
  scratch_directory scratch;
  {
    layout_writer layout;
    ASSERT_FALSE(layout.create());
    ASSERT_FALSE(layout.write_version_line());
    std::string name(79, 'n');
    for (int i = 0; i < 2000; ++i)
      write_entry(layout, 0, name);
  }
  EXPECT_EQ(read_file("out.xnq"), "");
}

TEST(LayoutWriter, ReportsTheSystemsReasonForAFailedCreateOrWrite) {
  scratch_directory scratch;
  ASSERT_EQ(0, mkdir("out.xnq", 0755));
  {
    layout_writer layout;
    platform::error reason = layout.create();
    EXPECT_EQ(reason.errno_value, EISDIR);
  }
  ASSERT_EQ(0, rmdir("out.xnq"));
  ASSERT_EQ(0, symlink("/dev/full", "out.xnq"));
  {
    layout_writer layout;
    ASSERT_FALSE(layout.create());
    ASSERT_FALSE(layout.write_version_line());
    platform::error reason = layout.close();
    EXPECT_EQ(reason.errno_value, ENOSPC);
  }
}

}  // namespace
