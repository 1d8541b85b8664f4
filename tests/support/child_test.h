// Another program on the same files: runs one test of this same test program in a child
// process. The child's test is named DISABLED_..., so that it runs only when a parent asks
// for it; it reads what it needs from the environment variables the parent gives.
//
//   auto child = StartChildTest("OrderWriter.DISABLED_WritesSlotOne", {{"VX_ROOT", root}});
//   ASSERT_TRUE(child->waitForFinished(60000));
#pragma once

#include <QProcess>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

std::unique_ptr<QProcess> StartChildTest(
    const QString& test, const std::vector<std::pair<QString, QString>>& environment);

// The value of a variable a parent set for its child test; the test fails when it is unset.
QString ChildValue(const char* name);
