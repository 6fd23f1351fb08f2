# The kit's tokens, fonts, utilities and controls.
target_sources(kestu_design PRIVATE
  KestuDesign/KestuDesign.cpp
  KestuDesign/KestuDesign.h
)
