// A fresh, empty database file in a temporary folder for each test.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "support/qt_print.h"

namespace vx::db::testing {

class DbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = MakeFile(QStringLiteral("test.mdb"));
    db_ = Database::Open(path_);
  }

  // An empty file, which SQLite opens as an empty database.
  QString MakeFile(const QString& name) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return path;
  }

  // A table of articles in the program's style, made through the Jet DDL.
  void MakeArticles() {
    db_->Execute(QStringLiteral("create table [articoli] ([vedovo] text(13))"));
    db_->Execute(QStringLiteral("alter table articoli add [desart] text(50)"));
    db_->Execute(QStringLiteral("alter table articoli add [costo1] double"));
    db_->Execute(QStringLiteral("alter table articoli add [costo4] single"));
    db_->Execute(QStringLiteral("alter table articoli add [colli1] int"));
    db_->Execute(QStringLiteral("alter table articoli add [sel] text(1)"));
    db_->Execute(QStringLiteral("create index vedovo on articoli (vedovo)"));
  }

  void AddArticle(const QString& ean, const QString& desc, double cost = 0) {
    db_->Execute(QStringLiteral("insert into articoli (vedovo, desart, costo1) values (?, ?, ?)"),
                 {Variant(ean), Variant(desc), Variant(cost)});
  }

  QTemporaryDir dir_;
  QString path_;
  std::shared_ptr<Database> db_;
};

}  // namespace vx::db::testing
