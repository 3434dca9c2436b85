#pragma once

#include "app/controller/cms/CmsDetailBaseViewController.h"

class CmsBriefViewController : public CmsDetailBaseViewController {
  PF_OBJECT(CmsBriefViewController, CmsDetailBaseViewController)
};
