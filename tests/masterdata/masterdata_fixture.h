// A shipped data drive in a temporary data root with the shared values the login leaves
// (drive C, operator 1, store 1), the supplier table filled from a list, and every message
// box answered by script; windows left loaded are unloaded afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "data_drive.h"
#include "platform/db/database.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::ui {
class FlexGrid;
}

struct SupplierRow {
  int codice;
  QString descr;
  QString percorso;
  QString programma;
  double perce = 0;
};

class MasterDataTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::shared_ptr<vx::db::Database> MainDb() const;
  std::shared_ptr<vx::db::Database> StoreDb() const;
  // Replaces the supplier rows.
  void SetSuppliers(const std::vector<SupplierRow>& rows) const;
  // One column of the supplier row of a slot; Empty when there is no such row.
  vx::Variant SupplierColumn(int codice, const QString& column) const;
  // The codes of the supplier rows, in code order.
  std::vector<int> SupplierCodes() const;
  // A single value of an SQL text on a database.
  static vx::Variant Scalar(vx::db::Database& db, const QString& sql);

  // Makes the window the active one, as the window system would when it is shown.
  static void Activate(QWidget* w);
  // Lets deferred deletions of unloaded windows run.
  static void Settle();
  // Clicks (or double clicks) a cell of a grid with the mouse.
  static void ClickCell(vx::ui::FlexGrid* grid, int row, int col);
  static void DoubleClickCell(vx::ui::FlexGrid* grid, int row, int col);
  // The texts of one column of a grid's data rows.
  static QStringList Column(const vx::ui::FlexGrid* grid, int col);

  TempDataRoot root;
  vx::tools::DataDriveOptions options;  // set before SetUp for another drive
  vx::tools::DataDrive drive;
  std::unique_ptr<ScriptedMessages> boxes;
};
