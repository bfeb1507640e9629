// The browser host's pages: #/login, #/ (start), #/bill/ID and #/list/ID (an open window).
import { get, post, ApiError } from './api.js';
import { loginPage, startPage } from './start.js';
import { BillPage } from './bill.js';
import { ListPage } from './list.js';
import { notice } from './dialogs.js';

const root = document.getElementById('app');
let me = null;
let page = null;
let routes = 0;  // a page whose route was left while it loaded does not show

function go(hash) {
  if (location.hash === hash) route();
  else location.hash = hash;
}

async function open(kind, classTypeId, billType = 0) {
  try {
    const outcome = await post('/api/windows', billType ? { kind, classTypeId, billType } : { kind, classTypeId });
    go(`#/${kind}/${outcome.window.id}`);
  } catch (e) {
    await notice('打开失败', e instanceof ApiError && e.body && e.body.result ? e.body.result.error : e.message);
  }
}

async function route() {
  const mine = ++routes;
  const stale = () => mine !== routes;
  const hash = location.hash || '#/';
  // The dialogs of the page left behind go with it (its window keeps waiting on the server).
  document.getElementById('dialogs').replaceChildren();
  if (!me) {
    try {
      me = await get('/api/me');
    } catch {
      me = null;
    }
    if (stale()) return undefined;
  }
  if (!me) {
    page = null;
    return loginPage(root, {
      stale,
      loggedIn(who) {
        me = who;
        go('#/');
      },
    });
  }
  const user = `${me.name} (${me.user})`;
  // A bill opened from a list goes back to that list when it closes.
  const match = hash.match(/^#\/(bill|list)\/(\d+)(?:\/from\/(\d+))?$/);
  if (match) {
    const [, kind, id, from] = match;
    const back = () => go(from ? `#/list/${from}` : '#/');
    page = kind === 'bill'
      ? new BillPage(root, Number(id), { user, leave: back })
      : new ListPage(root, Number(id), { user, open: (bill) => go(`#/bill/${bill}/from/${id}`), leave: back });
    return page.start();
  }
  page = null;
  return startPage(root, {
    me,
    stale,
    openBill: (classTypeId) => open('bill', classTypeId),
    openList: (classTypeId, billType) => open('list', classTypeId, billType),
    async logout() {
      await post('/api/logout');
      me = null;
      go('#/login');
    },
  });
}

window.addEventListener('hashchange', route);
route();
