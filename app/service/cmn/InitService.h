#pragma once
// Prepares, once per launch and before any screen, what every other service needs: the object store
// over Documents/"Marlune.db" mapped by the bundle's "DBConfig.xml", the remote-call client's
// configuration (ServerSettings), and the application's background tasks for transfers that continue
// in the background. Runs on the main thread.

class InitService {
 public:
  // What start-up found of the database.
  enum class DatabaseStart {
    // No database file: every mapped table and the "db_version" setting were created.
    Created,
    // The stored "db_version" is the mapping's: nothing to do.
    Current,
    // The stored version is missing or another: the schema-update step ran (on every such launch,
    // since the stored row keeps its old value).
    SchemaUpdated,
    // The database could not be created; the store logged why and the launch goes on.
    Unavailable,
  };

  // Registers the application's classes, opens or creates the store, installs the server settings and
  // the background-task host.
  DatabaseStart initAll();

 private:
  DatabaseStart initDatabase();
  void initOpenSetting();
};
