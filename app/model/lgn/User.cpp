#include "app/model/lgn/User.h"

void User::declareProperties(pf::ClassBuilder<User>& b) {
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, userName);
  PF_PROPERTY(b, loginName);
  PF_PROPERTY(b, password);
  PF_PROPERTY(b, corpCode);
  PF_PROPERTY(b, corpName);
  PF_PROPERTY(b, employeeCode);
  PF_PROPERTY(b, sex);
  PF_PROPERTY(b, birthday);
  PF_PROPERTY(b, dutyName);
  PF_PROPERTY(b, dutyLevel);
  PF_PROPERTY(b, previousLoginTime);
  PF_PROPERTY(b, organizeId);
  PF_PROPERTY(b, organizeName);
  PF_PROPERTY(b, organizeCode);
  PF_PROPERTY(b, positionId);
  PF_PROPERTY(b, positionName);
  PF_PROPERTY(b, positionCode);
  PF_PROPERTY(b, superiorId);
  PF_PROPERTY(b, superiorName);
  PF_PROPERTY(b, superiorEmployeeCode);
  PF_PROPERTY(b, onBoarding);
  PF_PROPERTY(b, email);
  PF_PROPERTY(b, mobile);
  PF_PROPERTY(b, idCard);
  PF_PROPERTY(b, faceUrl);
  PF_PROPERTY(b, prefixUrl);
  PF_PROPERTY(b, allowCode);
  PF_PROPERTY(b, seatCode);
  PF_PROPERTY(b, accountStatus);
}
