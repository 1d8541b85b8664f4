// A shipped data drive in a temporary data root, the shared values at program start, and
// every message box answered by script; windows left loaded are unloaded afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <memory>

#include "data_drive.h"
#include "platform/db/database.h"
#include "platform/print/printers.h"
#include "platform/ui/form.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::shared_ptr<vx::db::Database> MainDb() const;
  std::shared_ptr<vx::db::Database> StoreDb() const;
  // Replaces the operators: each entry is codcommesso, dsccommesso, password, auto_start
  // (a null Variant for Null).
  void SetOperators(const std::vector<std::vector<vx::Variant>>& rows) const;
  // Sends the window the activation that the window system would.
  static void Activate(QWidget* w);
  // Lets deferred deletions of unloaded windows run.
  static void Settle();

  TempDataRoot root;
  vx::tools::DataDrive drive;
  std::unique_ptr<ScriptedMessages> boxes;
};
