#pragma once
// The signed-in user as the server describes them, stored in table user (key userId) so that a user
// who signed in online before can sign in offline. password holds the lower-case MD5 hex of the
// password, which is what the offline check compares.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class User : public BaseDomain {
  PF_OBJECT(User, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> userName;
  std::optional<std::string> loginName;
  std::optional<std::string> password;
  std::optional<std::string> corpCode;
  std::optional<std::string> corpName;
  std::optional<std::string> employeeCode;
  std::optional<std::string> sex;
  std::optional<pf::Date> birthday;
  std::optional<std::string> dutyName;
  std::optional<std::string> dutyLevel;
  std::optional<pf::Date> previousLoginTime;
  std::optional<std::string> organizeId;
  std::optional<std::string> organizeName;
  std::optional<std::string> organizeCode;
  std::optional<std::string> positionId;
  std::optional<std::string> positionName;
  std::optional<std::string> positionCode;
  std::optional<std::string> superiorId;
  std::optional<std::string> superiorName;
  std::optional<std::string> superiorEmployeeCode;
  std::optional<pf::Date> onBoarding;
  std::optional<std::string> email;
  std::optional<std::string> mobile;
  std::optional<std::string> idCard;
  std::optional<std::string> faceUrl;
  std::optional<std::string> prefixUrl;
  std::optional<std::string> allowCode;
  int seatCode = 0;
  std::optional<std::string> accountStatus;

  static void declareProperties(pf::ClassBuilder<User>& b);
};
