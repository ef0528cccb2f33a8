# Lays the program folder's own files beside the programs in the build tree.
set(CARD_DATA_FOLDERS template 贺卡图片 背景音乐 录音 贺词框 贺词 图标 贺卡成品 文字特效 背景图)
set(mkdirs)
foreach(f IN LISTS CARD_DATA_FOLDERS)
  list(APPEND mkdirs COMMAND ${CMAKE_COMMAND} -E make_directory ${CARD_PROGRAM_DIR}/${f})
endforeach()
add_custom_target(program_folder ALL
  ${mkdirs}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data ${CARD_PROGRAM_DIR}
  # The scripts that generate the content stay in the repository, not in the program folder.
  COMMAND ${CMAKE_COMMAND} -E rm -f ${CARD_PROGRAM_DIR}/make_media.sh ${CARD_PROGRAM_DIR}/make_flash_media.sh
          ${CARD_PROGRAM_DIR}/make_midi.py ${CARD_PROGRAM_DIR}/make_templates.py ${CARD_PROGRAM_DIR}/shapes.py
          ${CARD_PROGRAM_DIR}/文字特效/make_styles.sh
  COMMENT "Laying out the program folder")
