// The errors panel: what failed in the session (SQL statements, handlers and components), shown
// only when something did. The statements and messages stay in the server's journal.
import { h } from './api.js';

export function renderJournal(panel, journal) {
  if (!journal) return;
  panel.hidden = !journal.count;
  if (!journal.count) return;
  const open = panel.querySelector('details')?.open ?? false;
  panel.replaceChildren(h('details', { open },
    h('summary', null, `错误 (${journal.count})`),
    h('ol', null, journal.entries.map((e) => h('li', null,
      h('span.where', null, e.where || (e.kind === 'sql' ? 'SQL 语句' : '处理程序')), ' ',
      h('span.error', null, '执行失败，详细情况见服务器日志。'))))));
}
