#pragma once

#include "app/controller/cms/CmsDetailBaseViewController.h"

class CmsStudyViewController : public CmsDetailBaseViewController {
  PF_OBJECT(CmsStudyViewController, CmsDetailBaseViewController)
};
