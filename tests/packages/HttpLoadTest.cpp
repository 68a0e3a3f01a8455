// Packages at http addresses, fetched by the file loader from a small server
// on 127.0.0.1 that the test starts and stops.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "PackageFixture.h"
#include "ProjectPackageLoader.h"

using packagetest::PackageTest;

namespace {

// Serves a directory on a free port of 127.0.0.1; the port is written to a
// file (complete, by rename) once the server listens.
constexpr const char* kServerScript = R"(import functools, http.server, os, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
with open(sys.argv[2] + ".part", "w") as out:
    out.write(str(server.server_address[1]))
os.rename(sys.argv[2] + ".part", sys.argv[2])
server.serve_forever()
)";

class LocalServer {
 public:
  explicit LocalServer(const std::filesystem::path& root) {
    std::ofstream(control_.File("server.py")) << kServerScript;
    const std::string command = "python3 " + control_.File("server.py") + " " + root.string() + " " +
                                control_.File("port") + " >/dev/null 2>&1 & echo $! > " + control_.File("pid");
    if (std::system(command.c_str()) != 0) return;
    // Bounded wait for the server to listen.
    for (int i = 0; i < 200 && port_.empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      std::ifstream(control_.File("port")) >> port_;
    }
  }
  ~LocalServer() {
    std::string pid;
    std::ifstream(control_.File("pid")) >> pid;
    if (!pid.empty()) std::system(("kill " + pid + " 2>/dev/null").c_str());
  }
  bool Running() const { return !port_.empty(); }
  std::string Address(const std::string& file) const { return "http://127.0.0.1:" + port_ + "/" + file; }

 private:
  testsupport::TempDir control_;
  std::string port_;
};

TEST_F(PackageTest, PackageAtAnAddressIsDownloadedAndRead) {
  LocalServer server(packages.Path());
  ASSERT_TRUE(server.Running()) << "python3 is needed for this test";
  Writer().Text("VSGR", "start.cgr").Int("VMEV", 54).Tag("VFKR").WriteTo(packages.File("project.vnl"));

  ProjectPackageLoader loader(engine.Get());
  const std::string address = server.Address("project.vnl");
  EXPECT_EQ(loader.InitializeVNLFile(address.c_str()), 0);
  EXPECT_EQ(std::string(loader.GetStartGroupFile()), server.Address("start.cgr"));
  EXPECT_TRUE(engine->engineInterfaceExt->GetIfKeepRunningApplication());
  EXPECT_TRUE(boxes.Boxes().empty());
}

// An error status and a resource above the size limit are failed downloads;
// the limit holds before a byte of the body arrives.
TEST_F(PackageTest, ErrorStatusAndOversizedResourceFailTheDownload) {
  LocalServer server(packages.Path());
  ASSERT_TRUE(server.Running()) << "python3 is needed for this test";
  const std::string huge = packages.File("huge.vnl");
  std::ofstream(huge).put('x');
  std::filesystem::resize_file(huge, std::uintmax_t{300} * 1024 * 1024);  // sparse
  for (const std::string& file : {std::string("absent.vnl"), std::string("huge.vnl")}) {
    SCOPED_TRACE(file);
    boxes.Clear();
    const std::string address = server.Address(file);
    EXPECT_EQ(Read(address), 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "There was an error downloading the vnl file : " + address);
  }
}

}  // namespace
